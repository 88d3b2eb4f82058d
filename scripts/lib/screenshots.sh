# shellcheck shell=bash
# Sourced by the scripts that take the docs' pictures under Wine: what they
# need before they start, and the pictures the tests saved as BMP written as
# PNG files to docs/.

# screenshots_need NAME TESTS: ends script NAME when its Windows test program
# TESTS is not built or ImageMagick's convert is missing.
screenshots_need() {
  [ -f "$2" ] || { echo "$1: no $2; build the mingw preset first" >&2; exit 2; }
  command -v convert >/dev/null || { echo "$1: ImageMagick's convert is not installed" >&2; exit 2; }
}

# screenshots_save NAME SHOTS DOCS PICTURE...: DOCS/PICTURE.png from
# SHOTS/PICTURE.bmp for each PICTURE; ends script NAME when one was not taken.
screenshots_save() {
  local name=$1 shots=$2 docs=$3 picture
  shift 3
  mkdir -p "$docs"
  for picture in "$@"; do
    [ -f "$shots/$picture.bmp" ] || { echo "$name: $picture was not taken" >&2; exit 1; }
    convert "$shots/$picture.bmp" -strip "$docs/$picture.png"
    echo "$name: docs/$picture.png"
  done
}
