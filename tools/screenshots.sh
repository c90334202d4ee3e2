#!/usr/bin/env bash
# Makes the README's screenshots again: starts the program from the build folder with the sample
# page on a virtual screen with a window manager, drives it with xdotool and photographs each
# window, title bar included, with ImageMagick's import.
#   tools/screenshots.sh [BUILD] [OUTPUT_FOLDER]       (make screenshots: build, docs/screenshots)
# Each shot is a function named shot_<name> that brings the program to what it shows and calls
# photograph (a dialog: photograph_dialog, which closes it again); SHOTS lists the shots made, in
# order, each starting from the Create Page view.
set -euo pipefail

SHOTS=(upload-wizard create-page view-page form-field-dialog)

build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-docs/screenshots}")
program="$build/Brisko/brisko"
sample="$build/Brisko/BriskoFiles/Walking Club.mbe"
# The window's client area, as a user of a 1280 x 1024 screen might leave it.
width=1000
height=700

for command in xvfb-run xdotool openbox import; do
    if ! command -v "$command" >/dev/null; then
        echo "screenshots: $command is missing; tools/install-deps.sh screenshots installs it" >&2
        exit 1
    fi
done

# Everything below runs on its own virtual screen.
if [ -z "${BRISKO_SCREENSHOTS_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" env BRISKO_SCREENSHOTS_DISPLAY=1 "$0" "$build" "$out"
fi

home=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache"
mkdir -p "$XDG_CONFIG_HOME/Marlowen Software" "$out"
# A normal window at a known place, and no tip of the day.
cat >"$XDG_CONFIG_HOME/Marlowen Software/HTML Brisko4.ini" <<EOF
[Software]
Marlowen%20Software\\HTML%20Brisko4\\Position\\WindowState=Normal
Marlowen%20Software\\HTML%20Brisko4\\Position\\Left=40
Marlowen%20Software\\HTML%20Brisko4\\Position\\Top=40
Marlowen%20Software\\HTML%20Brisko4\\Position\\Width=$width
Marlowen%20Software\\HTML%20Brisko4\\Position\\Height=$height
Marlowen%20Software\\HTML%20Brisko4\\TipDay=0
EOF

openbox >/dev/null 2>&1 &
sleep 1

# The window whose title is exactly $1, once it is on the screen.
window_named() {
    xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}

# Photographs window $1 with its frame into $out/$2.png.
photograph() {
    local window=$1 name=$2
    sleep 0.5 # let the window finish painting
    import -frame -window "$window" "$out/$name.png"
    echo "screenshots: $out/$name.png"
}

# Photographs the dialog titled $1, once it is open, into $out/$2.png and closes it again.
photograph_dialog() {
    local dialog
    dialog=$(window_named "$1")
    photograph "$dialog" "$2"
    # Through the keyboard, not sent to the window: the window is gone before the key comes up.
    xdotool windowactivate --sync "$dialog" key Escape
    sleep 0.3
}

# Clicks at x, y of the main window's client area; negative x counts from its right edge.
click_main() {
    local x=$1 y=$2
    eval "$(xdotool getwindowgeometry --shell "$main")"
    # shellcheck disable=SC2153 # WIDTH comes from getwindowgeometry
    [ "$x" -lt 0 ] && x=$((WIDTH + x))
    xdotool mousemove --window "$main" "$x" "$y" click 1
    sleep 0.3
}

# The large buttons of the right-hand column, from the window's top-right corner.
click_create() { click_main -50 77; }
click_preview() { click_main -50 152; }
click_upload() { click_main -50 302; }

# A row of the block list: 0 is Page Details, then the sample's blocks in order (9 is Forms).
click_block() { click_main 175 $((50 + 32 * $1)); }

shot_create-page() {
    click_block 1
    photograph "$main" create-page
}

shot_view-page() {
    click_preview
    photograph "$main" view-page
}

shot_form-field-dialog() {
    click_block 9
    click_main 330 338 # the field "Pace" in the form's field list
    xdotool key Return # Edit Field
    photograph_dialog "Form Field .* - Pace" form-field-dialog
}

shot_upload-wizard() {
    local wizard
    click_upload
    wizard=$(window_named "Upload Wizard")
    photograph "$wizard" upload-wizard
    # The wizard closes through its Exit button only, at its bottom right.
    eval "$(xdotool getwindowgeometry --shell "$wizard")"
    xdotool mousemove --window "$wizard" $((WIDTH - 50)) $((HEIGHT - 22)) click 1
    sleep 0.5
}

"$program" "$sample" &
main=$(window_named "Walking Club.mbe - Marlowen HTML Brisko 4.0")
# The splash window stays 2.5 seconds.
sleep 3
for shot in "${SHOTS[@]}"; do
    click_create
    "shot_$shot"
done

