#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for SECONDS seconds each, one after the other, and
# stops with a non-zero status at the first finding (crash, undefined behaviour, failed check,
# leak, timeout or memory limit). Each target grows its corpus in BUILD/corpus/<target> from the
# seeds below (and the words of tools/fuzz/<target>.dict, where there is one); findings are kept
# as BUILD/findings/<target>-*. Prints the executions per target.
# Usage: tools/fuzz/run-all.sh BUILD SECONDS [target...]
set -euo pipefail

build=${1:?usage: run-all.sh BUILD SECONDS [target...]}
seconds=${2:?usage: run-all.sh BUILD SECONDS [target...]}
shift 2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
program="$build/Brisko"
fuzz_data="$source_dir/tests/data/fuzz"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(stream themes ini fieldbank palette bookmarks profiles uploadstate recovery picture html pagehtml)
fi

# Copies the files that exist among the arguments into a seed folder, each as it is.
seed() {
    local folder=$1
    shift
    local file
    for file in "$@"; do
        [ -f "$file" ] && cp "$file" "$folder/$(basename "$file")"
    done
    return 0
}

# Pictures start with the byte that picks their decoder: 0 JPEG, 1 GIF, 2 BMP, 3 PNG.
seed_pictures() {
    local folder=$1
    local file
    for file in "$source_dir"/src/art/png/*.png; do
        [ -f "$file" ] && { printf '\003'; cat "$file"; } > "$folder/$(basename "$file")"
    done
    return 0
}

fill_seeds() {
    local target=$1 folder=$2
    shopt -s nullglob
    case $target in
    stream) seed "$folder" "$program/Themes.dat" "$program"/BriskoFiles/*.mbe "$source_dir"/tests/data/streams/* ;;
    themes) seed "$folder" "$program/Themes.dat" "$source_dir"/tests/data/streams/*.dat ;;
    ini | fieldbank) seed "$folder" "$source_dir/data/Fields.ini" ;;
    palette) seed "$folder" "$source_dir"/data/Palettes/*.pal ;;
    bookmarks | html)
        seed "$folder" "$source_dir"/tests/data/viewer/*.html "$program"/BriskoFiles/*.html "$program"/Upload/*.html ;;
    recovery | pagehtml) seed "$folder" "$program"/BriskoFiles/*.mbe "$source_dir"/tests/data/streams/*.mbe ;;
    picture) seed_pictures "$folder" ;;
    esac
    seed "$folder" "$fuzz_data/$target"/*
    shopt -u nullglob
}

mkdir -p "$build/findings"
summary=()
for target in "${targets[@]}"; do
    binary="$build/tools/fuzz/fuzz-$target"
    corpus="$build/corpus/$target"
    seeds="$build/seeds/$target"
    rm -rf "$seeds"
    mkdir -p "$corpus" "$seeds"
    fill_seeds "$target" "$seeds"
    log="$build/findings/$target.log"
    echo "== fuzz-$target, $seconds s"
    dictionary=()
    [ -f "$source_dir/tools/fuzz/$target.dict" ] && dictionary=(-dict="$source_dir/tools/fuzz/$target.dict")
    status=0
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ASAN_OPTIONS=detect_leaks=1 \
        "$binary" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" "${dictionary[@]}" "$corpus" "$seeds" > "$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    summary+=("$(printf '%-12s %10s runs %8s/s' "$target" "${runs:-?}" "${rate:-?}")")
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log"
        echo "fuzz-$target found a problem (status $status); see $log and $build/findings/" >&2
        printf '%s\n' "${summary[@]}"
        exit 1
    fi
done
printf '%s\n' "${summary[@]}"
