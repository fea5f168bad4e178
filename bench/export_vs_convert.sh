#!/usr/bin/env bash
# quillet-export beside ImageMagick on a 24-megapixel JPEG (6000 x 4000): the same cover fit to
# 120 x 130 with a centre crop, written as a JPEG of quality 100, each timed as a whole process in
# the same run. Prints both median times and how many times faster quillet-export is.
#   bench/export_vs_convert.sh [BUILD_DIR]      BUILD_DIR defaults to build
# Needs the build (the exporter and bench/quillet_make_photo), Debian's imagemagick, and
# hyperfine when there is one (else a plain loop times the runs).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
exporter=$build/quillet/quillet-export
maker=$build/bench/quillet_make_photo
# Always Debian's: another convert may come first in PATH.
convert=/usr/bin/convert
identify=/usr/bin/identify
runs=15

for f in "$exporter" "$maker"; do
    [ -x "$f" ] || { echo "$f is missing: cmake --build $build" >&2; exit 1; }
done
[ -x "$convert" ] || { echo "$convert is missing: apt-get install -y imagemagick" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$maker" "$work/photo.jpg" 6000 4000

# The exporter as a script would run it: no display.
export_cmd="env -u DISPLAY -u QT_QPA_PLATFORM $exporter $work/photo.jpg $work/export.jpg"
convert_cmd="$convert $work/photo.jpg -resize 120x130^ -gravity center -extent 120x130"
convert_cmd+=" -quality 100 $work/convert.jpg"

# Median of the seconds on stdin.
median() {
    sort -g | awk '{ v[NR] = $1 }
        END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; print m }'
}

# Seconds of each of $runs runs of a command after two warm-up runs, one a line.
time_runs() {
    local i t0 t1
    for i in 1 2; do $1 >/dev/null; done
    for ((i = 0; i < runs; i++)); do
        t0=$(date +%s%N)
        $1 >/dev/null
        t1=$(date +%s%N)
        echo "$(((t1 - t0) / 1000))e-6"
    done
}

if command -v hyperfine >/dev/null; then
    hyperfine --warmup 2 --runs "$runs" --export-csv "$work/times.csv" \
        -n quillet-export "$export_cmd" -n convert "$convert_cmd"
    # Columns: command, mean, stddev, median, ...
    export_s=$(awk -F, '$1 == "quillet-export" { print $4 }' "$work/times.csv")
    convert_s=$(awk -F, '$1 == "convert" { print $4 }' "$work/times.csv")
else
    echo "hyperfine is not there: timing $runs runs of each with date"
    export_s=$(time_runs "$export_cmd" | median)
    convert_s=$(time_runs "$convert_cmd" | median)
fi

# Both made the phone picture.
for f in "$work/export.jpg" "$work/convert.jpg"; do
    size=$("$identify" -format '%wx%h' "$f")
    [ "$size" = 120x130 ] || { echo "$f is $size, not 120x130" >&2; exit 1; }
done

awk -v e="$export_s" -v c="$convert_s" 'BEGIN {
    r = c / e
    printf "median: quillet-export %.3f s, convert %.3f s\n", e, c
    printf "quillet-export is %.2f x as fast as convert (target: at least 2 x)%s\n", r,
        (r >= 2 ? "" : "  BELOW TARGET")
}'
