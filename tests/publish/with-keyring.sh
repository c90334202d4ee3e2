#!/bin/sh
# Runs a test with a secret store of its own: a private home, a session bus and an unlocked GNOME Keyring
# that knows nothing of the user's.
set -eu
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT INT TERM
export HOME="$dir" XDG_DATA_HOME="$dir/data" XDG_CONFIG_HOME="$dir/config" XDG_CACHE_HOME="$dir/cache"
export XDG_RUNTIME_DIR="$dir/run"
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
dbus-run-session -- sh -c 'printf brisko-test | gnome-keyring-daemon --unlock --components=secrets >/dev/null && exec "$@"' \
    with-keyring "$@"
