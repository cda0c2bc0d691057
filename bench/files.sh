#!/usr/bin/env bash
# usage: bench/files.sh BUILD_DIR WORK_DIR
# Files end to end, side by side on the same 20-megapixel photo: velo apply
# to JPEG and to PNG against vips copy (decode and encode only) and
# ImageMagick's convert, with wall time, file size and peak memory; the peak
# memory of velo apply on a 250-megapixel JPEG; and ten 12-megapixel files in
# one velo apply against ten runs of one file. Prints a Markdown table.
set -euo pipefail

build=$1
work=$2
velo=$build/src/app/velo
photo=$work/photo.jpg
maps=(--map '0.8,0.4,0.2>0.2,0.4,0.8' --map '0.1,0.1,0.1>0.15,0.1,0.05'
      --map '0.9,0.9,0.9>1,0.95,0.9' --map '0.3,0.6,0.3>0.5,0.7,0.2' --map '0.5,0.5,0.9>0.4,0.3,0.9')

# "SECONDS PEAK_MB" of a command, the best wall time of three runs.
measure() {
  local best="" peak=0
  for _ in 1 2 3; do
    /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" >/dev/null 2>&1
    read -r seconds kilobytes <"$work/time.txt"
    if [ -z "$best" ] || awk "BEGIN { exit !($seconds < $best) }"; then best=$seconds; fi
    [ "$kilobytes" -gt "$peak" ] && peak=$kilobytes
  done
  echo "$best $((peak / 1024))"
}

row() {
  local name=$1 out=$2
  shift 2
  read -r seconds megabytes < <(measure "$@")
  local size
  size=$(stat -c %s "$out")
  printf '| %s | %.2f s | %s MB | %d MB |\n' "$name" "$seconds" \
    "$(awk "BEGIN { printf \"%.1f\", $size / 1e6 }")" "$megabytes"
  echo "$seconds $size" >"$work/row-$(basename "$out").txt"
}

[ -f "$photo" ] || "$build/bench/make_bench_photo" "$photo"
echo "| 20 MP JPEG to | wall time | file size | peak memory |"
echo "|---|---:|---:|---:|"
row "velo apply → JPEG" "$work/velo.jpg" "$velo" apply --quiet "${maps[@]}" -o "$work/velo.jpg" "$photo"
row "vips copy → JPEG (its default quality)" "$work/vips.jpg" vips copy "$photo" "$work/vips.jpg"
# vips at the quality velo writes, read back from velo's file.
quality=$(identify -format '%Q' "$work/velo.jpg")
row "vips copy → JPEG at velo's quality ($quality)" "$work/vips-q.jpg" \
  vips copy "$photo" "$work/vips-q.jpg[Q=$quality]"
row "velo apply → PNG" "$work/velo.png" "$velo" apply --quiet "${maps[@]}" -o "$work/velo.png" "$photo"
row "vips copy → PNG" "$work/vips.png" vips copy "$photo" "$work/vips.png"
# ImageMagick's default PNG of the same pixels: velo's recoloured ones.
row "convert velo's pixels → PNG" "$work/convert.png" convert "$work/velo.png" "$work/convert.png"

ratio() { awk "BEGIN { printf \"%.3f\", $1 / $2 }"; }
read -r velo_jpg _ <"$work/row-velo.jpg.txt"
read -r vips_jpg _ <"$work/row-vips-q.jpg.txt"
read -r velo_png velo_png_size <"$work/row-velo.png.txt"
read -r vips_png _ <"$work/row-vips.png.txt"
read -r _ convert_png_size <"$work/row-convert.png.txt"
echo
echo "- velo → JPEG / vips copy → JPEG at the same quality: $(ratio "$velo_jpg" "$vips_jpg")× the time (aim ≤ 1.2)"
echo "- velo → PNG / vips copy → PNG: $(ratio "$velo_png" "$vips_png")× the time (aim ≤ 1)"
echo "- velo PNG / convert PNG: $(ratio "$velo_png_size" "$convert_png_size")× the size (aim ≤ 1)"

# 250 megapixels, made by enlarging the photo (vips streams it).
vips resize "$photo" "$work/huge.jpg" 3.5 >/dev/null
read -r seconds megabytes < <(measure "$velo" apply --quiet "${maps[@]}" -o "$work/huge-out.jpg" \
  "$work/huge.jpg")
echo "- velo apply on a $(vipsheader -f width "$work/huge.jpg")x$(vipsheader -f height \
  "$work/huge.jpg") JPEG to JPEG: $seconds s, peak $megabytes MB (aim < 300 MB)"

# A 16-bit PNG stays 16-bit: velo apply against vips copy to a 16-bit PNG.
"$build/bench/make_bench_photo" "$work/deep.png"
row "velo apply 16-bit PNG → 16-bit PNG" "$work/velo-deep.png" "$velo" apply --quiet "${maps[@]}" \
  -o "$work/velo-deep.png" "$work/deep.png"
row "vips copy 16-bit PNG → 16-bit PNG" "$work/vips-deep.png" vips copy "$work/deep.png" \
  "$work/vips-deep.png"
read -r velo_deep _ <"$work/row-velo-deep.png.txt"
read -r vips_deep _ <"$work/row-vips-deep.png.txt"
echo "- velo → 16-bit PNG / vips copy → 16-bit PNG: $(ratio "$velo_deep" "$vips_deep")× the time (aim ≤ 1.2)"

# Ten 12-megapixel files: one batch against ten runs.
mkdir -p "$work/ten" "$work/ten-out"
"$build/bench/make_bench_photo" "$work/ten/0.jpg" 4240 2832
for i in 1 2 3 4 5 6 7 8 9; do cp "$work/ten/0.jpg" "$work/ten/$i.jpg"; done
read -r batch _ < <(measure "$velo" apply --quiet "${maps[@]}" --format jpg -o "$work/ten-out/" \
  "$work"/ten/*.jpg)
# shellcheck disable=SC2016 # expanded by the inner shell
read -r single _ < <(measure bash -c \
  'for f in "$1"/ten/*.jpg; do "$2" apply --quiet "${@:3}" -o "$1/ten-out/${f##*/}" "$f"; done' \
  _ "$work" "$velo" "${maps[@]}")
echo "- ten 12 MP JPEGs to JPEG: one velo apply $batch s, ten runs $single s:" \
  "$(ratio "$single" "$batch")× faster in one batch (aim ≥ 1.8)"
