#!/bin/sh
# Renders the sample pages with the preview (brisko-render) and with Chromium in headless mode,
# writes the two pictures side by side and a table of the height each drew.
# Usage: compare.sh BUILD_DIR [PAGE...]   (PAGE: a sample's name without .html; all when none)
set -eu
build=$(cd "$1" && pwd)
shift
only="$*"
here=$(cd "$(dirname "$0")" && pwd)
program="$build/Brisko"
out="$build/compare"
width=800
browser=$(command -v chromium || command -v chromium-browser || true)
[ -n "$browser" ] || { echo "compare: chromium is not installed" >&2; exit 2; }

rm -rf "$out"
mkdir -p "$out/pages"
cp "$here/pages/picture.png" "$out/pages/"
# The pages are kept with LF line ends; the program writes CR LF, so the samples get them too.
for page in "$here"/pages/*.html; do
    sed 's/$/\r/' "$page" > "$out/pages/$(basename "$page")"
done
# The sample project as it is published, with its pictures beside it.
if [ -f "$program/BriskoFiles/Walking Club.mbe" ]; then
    "$program/brisko-export" html --mode upload "$program/BriskoFiles/Walking Club.mbe" > "$out/pages/walking-club.html"
    cp "$program"/Upload/images/* "$program"/Upload/backgrounds/* "$out/pages/" 2>/dev/null || true
fi

table="$out/heights.txt"
printf '%-16s %8s %8s %7s\n' page preview browser diff > "$table"
for page in "$out"/pages/*.html; do
    name=$(basename "$page" .html)
    case " ${only:-$name} " in *" $name "*) ;; *) continue ;; esac
    "$program/brisko-render" --width "$width" "$page" "$out/$name-preview.png"
    "$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars --force-device-scale-factor=1 \
        --window-size="$width,4000" --screenshot="$out/$name-browser.png" "file://$page" >/dev/null 2>&1
    set -- $("$build/tools/compare/brisko-sidebyside" "$out/$name-preview.png" "$out/$name-browser.png" \
        "$out/$name.png")
    diff=$(awk -v p="$1" -v b="$2" 'BEGIN { printf "%+.1f%%", (b > 0 ? (p - b) * 100 / b : 0) }')
    printf '%-16s %8s %8s %7s\n' "$name" "$1" "$2" "$diff" >> "$table"
done
cat "$table"
echo "pictures (preview left, browser right): $out/*.png"
