#!/usr/bin/env bash
# Turns the scenarios' BMP pictures into PNG files. Usage: screenshots.sh FROM TO [PREFIX]
set -euo pipefail
mkdir -p "$2"
shopt -s nullglob
for bmp in "$1"/"${3:-}"*.bmp; do
  /usr/bin/convert "$bmp" "$2/$(basename "${bmp%.bmp}").png"
done
