#!/usr/bin/python3
"""The installed program, as a user meets it.

  test_install.py tree BUILD      stage "cmake --install" with DESTDIR, make it read-only and run the
                                  installed tools and program with a private home: the user's own
                                  program folder appears with every shipped file, later starts replace
                                  nothing, a page saved there opens, nothing is registered per user.
  test_install.py package BUILD   build the Debian package with CPack and check its file list and
                                  dependencies.
"""

import glob
import hashlib
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import threading

TOOLS = ["brisko", "brisko-export", "brisko-render", "brisko-publish"]
# The program's settings with the tip of the day off, so that start-up opens no dialog.
SETTINGS = "[Software]\nMarlowen%20Software\\HTML%20Brisko4\\TipDay=0\n"
START_TIMEOUT = 120

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message)
    return condition


def differences(old, new):
    """What differs between two listings, for a failure message."""
    return "; ".join(f"{name}: {old.get(name, 'missing')} -> {new.get(name, 'missing')}"
                     for name in sorted(set(old) | set(new)) if old.get(name) != new.get(name))


def run(command, env=None, **kwargs):
    return subprocess.run(command, env=env, capture_output=True, text=True, timeout=START_TIMEOUT, **kwargs)


def listing(folder):
    """Every entry below folder: files with a hash of their bytes, folders, links with targets. The
    program's "Recovery" folder, its work area for unsaved pages, is no part of what it was given."""
    entries = {}
    for root, dirs, files in os.walk(folder):
        for name in dirs + files:
            path = os.path.join(root, name)
            relative = os.path.relpath(path, folder)
            if os.path.islink(path):
                entries[relative] = "-> " + os.readlink(path)
            elif os.path.isdir(path):
                entries[relative] = "folder"
            else:
                with open(path, "rb") as f:
                    entries[relative] = hashlib.sha256(f.read()).hexdigest()
        dirs[:] = [d for d in dirs if not os.path.islink(os.path.join(root, d))]
    entries = {name: value for name, value in entries.items() if name.split("/")[0] != "Recovery"}
    return entries


def set_writable(folder, writable):
    """The staged tree as the system keeps it (read-only), and back for clean-up."""
    for root, dirs, files in os.walk(folder):
        for name in dirs + files + [""]:
            path = os.path.join(root, name) if name else root
            if os.path.islink(path):
                continue
            mode = os.stat(path).st_mode
            os.chmod(path, mode | stat.S_IWUSR if writable else mode & ~(stat.S_IWUSR | stat.S_IWGRP | stat.S_IWOTH))


def private_env(home):
    env = dict(os.environ)
    for name, sub in [("HOME", ""), ("XDG_DATA_HOME", ".local/share"), ("XDG_CONFIG_HOME", ".config"),
                      ("XDG_CACHE_HOME", ".cache"), ("XDG_RUNTIME_DIR", "run")]:
        path = os.path.join(home, sub) if sub else home
        os.makedirs(path, mode=0o700, exist_ok=True)
        env[name] = path
    env["QT_QPA_PLATFORM"] = "offscreen"
    env["QT_LOGGING_RULES"] = "brisko.*=true"
    config = os.path.join(env["XDG_CONFIG_HOME"], "Marlowen Software")
    os.makedirs(config, exist_ok=True)
    with open(os.path.join(config, "HTML Brisko4.ini"), "w") as f:
        f.write(SETTINGS)
    return env


def start_program(program, arguments, env):
    """Starts the program and waits for start-up to end or to show a message; returns what it
    logged. The program is then ended: by then it has left all its traces."""
    process = subprocess.Popen([program] + arguments, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                               text=True)
    lines = []
    # A start-up that stops (at a dialog, say) is ended after a while and fails for want of "ready".
    timer = threading.Timer(START_TIMEOUT, process.kill)
    timer.start()
    try:
        for line in process.stderr:
            lines.append(line.rstrip("\n"))
            # Start-up is over when the window is up, or stops at a message box.
            if "ready: " in line or "brisko.messages: " in line:
                break
    finally:
        timer.cancel()
        process.kill()
        process.wait()
    return lines


def test_tree(build):
    with tempfile.TemporaryDirectory() as tmp:
        stage = os.path.join(tmp, "stage")
        result = run(["cmake", "--install", build, "--prefix", "/usr"], env=dict(os.environ, DESTDIR=stage))
        if not check(result.returncode == 0, "cmake --install failed: " + result.stderr):
            return
        usr = os.path.join(stage, "usr")
        bindir = os.path.join(usr, "bin")
        shared = os.path.join(usr, "share", "brisko")

        for tool in TOOLS:
            for option in ["--help", "--version"]:
                result = run([os.path.join(bindir, tool), option], env=dict(os.environ, DISPLAY="", QT_QPA_PLATFORM=""))
                check(result.returncode == 0 and " 4.0 (commit " in result.stdout
                      and ("usage: " + tool in result.stdout) == (option == "--help"),
                      f"{tool} {option}: status {result.returncode}, output {result.stdout!r} {result.stderr!r}")

        metainfo = glob.glob(os.path.join(usr, "share", "metainfo", "*.metainfo.xml"))
        check(len(metainfo) == 1, "one AppStream file installed")
        if shutil.which("appstreamcli") and metainfo:
            result = run(["appstreamcli", "validate", "--no-net", metainfo[0]])
            check(result.returncode == 0, "appstreamcli validate: " + result.stdout + result.stderr)
        if shutil.which("desktop-file-validate"):
            result = run(["desktop-file-validate", os.path.join(usr, "share", "applications", "brisko.desktop")])
            check(result.returncode == 0, "desktop-file-validate: " + result.stdout + result.stderr)

        shipped = listing(shared)
        for name in ["Themes.dat", "Fields.ini", "Tips.txt", "Palettes/Web Palette.pal", "BriskoFiles/Walking Club.mbe",
                     "Templates", "Upload/images", "Upload/backgrounds", "Upload/Images", "Upload/Backgrounds"]:
            check(name in shipped, "shipped: " + name)
        installed = listing(stage)
        set_writable(stage, False)
        try:
            home = os.path.join(tmp, "home")
            env = private_env(home)
            data_home = env["XDG_DATA_HOME"]
            user = os.path.join(data_home, "Brisko")

            # First start: the program makes the user's folder from the shipped data and says nothing.
            log = start_program(os.path.join(bindir, "brisko"), [], env)
            ready = [line for line in log if "ready: " in line]
            if not check(ready, "the installed program started: " + "\n".join(log)):
                return
            check(f'in {user}/' in ready[0], "the program works in the user's folder: " + ready[0])
            check(not [line for line in log if "brisko.messages" in line], "no message at start-up: " + "\n".join(log))
            check(listing(user) == shipped,
                  "the user's folder holds every shipped file and nothing else: " + differences(shipped, listing(user)))
            check(os.path.islink(os.path.join(user, "Upload", "Images")), "Upload/Images is a link")
            for registered in ["applications", "mime", "icons"]:
                check(not os.path.exists(os.path.join(data_home, registered)),
                      f"installed system-wide, start-up writes nothing into {data_home}/{registered}")

            # The user changes the field bank, deletes a sample page and saves a page of their own.
            with open(os.path.join(user, "Fields.ini"), "a") as f:
                f.write("; mine\n")
            os.remove(os.path.join(user, "BriskoFiles", "Walking Club.html"))
            mine = os.path.join(user, "BriskoFiles", "My Page.mbe")
            result = run([os.path.join(bindir, "brisko-export"), "resave",
                          os.path.join(user, "BriskoFiles", "Walking Club.mbe"), mine], env=env)
            check(result.returncode == 0, "brisko-export saves into the user's folder: " + result.stderr)
            before = listing(user)

            # Later starts, of a tool and of the program with the saved page, replace nothing.
            result = run([os.path.join(bindir, "brisko-export"), "html", "--mode", "preview", mine], env=env)
            check(result.returncode == 0 and "<HTML>" in result.stdout.upper(), "brisko-export html: " + result.stderr)
            log = start_program(os.path.join(bindir, "brisko"), [mine], env)
            ready = [line for line in log if "ready: " in line]
            check(ready and "My Page" in ready[0], "the saved page opens: " + "\n".join(log))
            check(not [line for line in log if "brisko.messages" in line], "no message opening the page: " + "\n".join(log))
            check(listing(user) == before,
                  "later starts leave the user's folder as it was: " + differences(before, listing(user)))

            # With no folder of their own to be had, the tools still run on the shipped data and say why.
            blocked = dict(env, XDG_DATA_HOME=os.path.join(home, "blocked"))
            with open(blocked["XDG_DATA_HOME"], "w") as f:
                f.write("a file where the data home should be")
            result = run([os.path.join(bindir, "brisko-export"), "json",
                          os.path.join(shared, "BriskoFiles", "Walking Club.mbe")], env=blocked)
            check(result.returncode == 0 and "Cannot create the folder" in result.stderr
                  and "Not a directory" in result.stderr, "an unusable data home is reported: " + result.stderr)

            log = start_program(os.path.join(bindir, "brisko"), [], blocked)
            check([line for line in log if "brisko.messages: Warning: Brisko cannot make a folder" in line
                   and "Not a directory" in line], "the program says why it runs on the shipped data: " + "\n".join(log))

            check(listing(stage) == installed,
                  "nothing in the installed tree changed: " + differences(installed, listing(stage)))
        finally:
            set_writable(stage, True)


def test_package(build):
    with tempfile.TemporaryDirectory() as tmp:
        result = run(["cpack", "-G", "DEB", "-B", tmp, "--config", os.path.join(build, "CPackConfig.cmake")])
        packages = glob.glob(os.path.join(tmp, "brisko_4.0-*.deb"))
        if not check(result.returncode == 0 and len(packages) == 1, "cpack: " + result.stdout + result.stderr):
            return
        contents = run(["dpkg-deb", "--contents", packages[0]]).stdout
        # "mode owner size date time path", and " -> target" after a link's path.
        paths = {line.split(None, 5)[5].split(" -> ")[0] for line in contents.splitlines() if len(line.split()) > 5}
        expected = [f"./usr/bin/{tool}" for tool in TOOLS] + [
            "./usr/share/brisko/Themes.dat", "./usr/share/brisko/Fields.ini", "./usr/share/brisko/Tips.txt",
            "./usr/share/brisko/Palettes/Web Palette.pal", "./usr/share/brisko/BriskoFiles/Walking Club.mbe", "./usr/share/brisko/Templates/",
            "./usr/share/brisko/Upload/images/", "./usr/share/brisko/Upload/backgrounds/",
            "./usr/share/brisko/Upload/Images", "./usr/share/brisko/Upload/Backgrounds",
            "./usr/share/applications/brisko.desktop", "./usr/share/mime/packages/brisko.xml",
            "./usr/share/metainfo/example.marlowen.brisko.metainfo.xml",
        ]
        expected += [f"./usr/share/icons/hicolor/{size}x{size}/apps/brisko.png" for size in [16, 24, 32, 48, 64, 128]]
        expected += [f"./usr/share/icons/hicolor/{size}x{size}/mimetypes/application-x-brisko-{kind}.png"
                     for size in [32, 64] for kind in ["project", "template"]]
        for path in expected:
            check(path in paths, "in the package: " + path)
        # The stripped executables still run.
        unpacked = os.path.join(tmp, "unpacked")
        run(["dpkg-deb", "--extract", packages[0], unpacked])
        for tool in TOOLS:
            result = run([os.path.join(unpacked, "usr", "bin", tool), "--version"])
            check(result.returncode == 0 and " 4.0 (commit " in result.stdout, f"the packaged {tool} runs")
        depends = run(["dpkg-deb", "--field", packages[0], "Depends"]).stdout
        for library in ["libqt6widgets6", "libcurl", "libjpeg62-turbo", "qt6-qpa-plugins"]:
            check(library in depends, "the package depends on " + library + ": " + depends)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("tree", "package"):
        print(__doc__)
        return 2
    (test_tree if sys.argv[1] == "tree" else test_package)(sys.argv[2])
    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
