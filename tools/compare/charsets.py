#!/usr/bin/env python3
"""Shows that the pages the program writes look as they were made on any web server.

Usage: charsets.py BUILD_DIR

brisko-charsetpage writes a page of typed letters and awkwardly named pictures as Save, Save As
Template and Preview Page write it. This script serves those pages over HTTP from 127.0.0.1, each
under three headers (charset=utf-8, charset=iso-8859-1 and none), opens each in headless Chromium
inside a small checking page of its own, and compares what Chromium shows (text, titles, options,
field values, alternative texts, loaded pictures) with what was typed. Exit status 1 when
anything differs. Not part of the tests: it needs Chromium.
"""
import html
import http.server
import json
import os
import re
import shutil
import subprocess
import sys
import threading
import urllib.parse

CHARSETS = {"utf-8": "text/html; charset=utf-8", "iso-8859-1": "text/html; charset=iso-8859-1", "none": "text/html"}

# Reads the page in a frame once it and its pictures have loaded, and writes what it shows as JSON.
CHECK_PAGE = """<!DOCTYPE html><html><head><meta charset="utf-8"></head><body>
<iframe id="page" width="800" height="600"></iframe><pre id="result"></pre>
<script>
const frame = document.getElementById('page');
frame.onload = async () => {
  const d = frame.contentDocument;
  const loads = (url) => new Promise((done) => {
    const picture = new Image();
    picture.onload = () => done(picture.naturalWidth > 0);
    picture.onerror = () => done(false);
    picture.src = url;
  });
  // The name the server is asked for; an address that is no valid escape is shown as it is.
  const asked = (url) => {
    const last = new URL(url, d.baseURI).pathname.split('/').pop();
    try { return decodeURIComponent(last); } catch (e) { return last; }
  };
  const background = d.body.getAttribute('background');
  const result = {
    title: d.title,
    text: d.body.innerText,
    options: [...d.querySelectorAll('option')].map((o) => o.text),
    values: [...d.querySelectorAll('input')].map((i) => i.value),
    meta: [...d.querySelectorAll('meta')].map((m) => m.content),
    alts: [...d.images].map((i) => i.alt),
    pictures: [...d.images].map((i) => [asked(i.src), i.complete && i.naturalWidth > 0]),
    background: background === null ? null : [asked(background), await loads(new URL(background, d.baseURI).href)],
  };
  document.getElementById('result').textContent = JSON.stringify(result);
};
frame.src = new URLSearchParams(location.search).get('page');
</script></body></html>"""


class Handler(http.server.SimpleHTTPRequestHandler):
    """Serves the output folder under /utf-8/, /iso-8859-1/ and /none/, each with its own header."""

    def log_message(self, *args):
        pass

    def do_GET(self):
        path = urllib.parse.urlsplit(self.path).path
        if path == "/check.html":
            body = CHECK_PAGE.encode("utf-8")
            self.send_response(200)
            self.send_header("Content-Type", "text/html; charset=utf-8")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        parts = path.split("/", 2)
        if len(parts) < 3 or parts[1] not in CHARSETS:
            self.send_error(404)
            return
        local = os.path.realpath(os.path.join(self.server.root, urllib.parse.unquote(parts[2])))
        if not local.startswith(self.server.root + os.sep) or not os.path.isfile(local):
            self.send_error(404)
            return
        with open(local, "rb") as f:
            body = f.read()
        self.send_response(200)
        kind = CHARSETS[parts[1]] if local.endswith(".html") else "image/png"
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def shown(browser, port, page):
    address = "http://127.0.0.1:%d/check.html?page=%s" % (port, urllib.parse.quote(page))
    run = subprocess.run([browser, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                          "--virtual-time-budget=10000", "--dump-dom", address],
                         capture_output=True, text=True, timeout=120)
    found = re.search(r'<pre id="result">(.+?)</pre>', run.stdout, re.S)
    if not found:
        raise RuntimeError("Chromium showed no result for %s: %s" % (page, run.stderr[-500:]))
    return json.loads(html.unescape(found.group(1)))


def differences(result, expected):
    seen = "\n".join([result["title"], result["text"]] + result["options"] + result["values"] + result["meta"]
                     + result["alts"])
    wrong = ["text %r is not shown" % t for t in expected["texts"] if t not in seen]
    pictures = dict((name, ok) for name, ok in result["pictures"])
    for name in expected["pictures"]:
        if name not in pictures:
            wrong.append("picture %r is not asked for (asked: %s)" % (name, ", ".join(sorted(pictures))))
        elif not pictures[name]:
            wrong.append("picture %r does not load" % name)
    background = result["background"]
    if background is None or background[0] != expected["background"] or not background[1]:
        wrong.append("background %r does not load (%r)" % (expected["background"], background))
    return wrong


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    build = os.path.realpath(sys.argv[1])
    browser = shutil.which("chromium") or shutil.which("chromium-browser")
    if not browser:
        sys.exit("charsets: chromium is not installed")
    out = os.path.join(build, "charsets")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    subprocess.run([os.path.join(build, "tools", "compare", "brisko-charsetpage"), out], check=True,
                   env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    with open(os.path.join(out, "expected.json"), encoding="utf-8") as f:
        expected = json.load(f)

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.root = out
    threading.Thread(target=server.serve_forever, daemon=True).start()
    port = server.server_address[1]
    failures = 0
    try:
        print("%-18s %-11s %s" % ("page", "charset", "result"))
        for kind, page in expected["pages"].items():
            for charset in CHARSETS:
                wrong = differences(shown(browser, port, "/%s/%s" % (charset, page)), expected)
                failures += bool(wrong)
                print("%-18s %-11s %s" % (kind, charset, "as made" if not wrong else "DIFFERS"))
                for line in wrong:
                    print("    " + line)
    finally:
        server.shutdown()
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
