#!/bin/sh
# Re-renders every PNG picture of the program from its SVG source at its exact pixel size,
# and the desktop icon at the sizes installed under share/icons/hicolor (packaging/icons/).
# Usage: sh resources/src/render.sh   (works from any directory)
# Needs rsvg-convert (Debian package librsvg2-bin).
set -eu

SRC=$(cd "$(dirname "$0")" && pwd)
OUT=$(dirname "$SRC")
ICONS=$(dirname "$OUT")/packaging/icons/hicolor

command -v rsvg-convert >/dev/null 2>&1 || {
    echo "rsvg-convert not found: install librsvg2-bin" >&2
    exit 1
}

# source-name  output-path (relative to resources/)  width  height
render() {
    mkdir -p "$OUT/$(dirname "$2")"
    rsvg-convert -w "$3" -h "$4" "$SRC/$1.svg" -o "$OUT/$2"
    echo "$2  ${3}x${4}"
}

# Main window
render arrows    main/arrows.png    42 43
render folder    main/folder.png    32 28
render printer   main/printer.png   40 34
render smiley    main/smiley.png    34 38
render donate    main/donate.png    92 26

# Menu icons
for n in 100 101 102 103 104 105 106 107 108 109 110 111; do
    render "$n"  "menu/$n.png"      16 16
done

# Print dialog
render print     print/print.png     60 51
render cancel    print/cancel.png    49 50
render portrait  print/portrait.png  160 185
render landscape print/landscape.png 190 152

# About box
render title     about/title.png    48 48
render panel     about/panel.png    64 64

# Window icon
render kalmora   app/kalmora.png    64 64

# Desktop icon, one PNG per size that desktops look up; the SVG itself is installed as the
# scalable one.
for size in 16 24 32 48 64 128 256; do
    mkdir -p "$ICONS/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "$SRC/kalmora.svg" \
        -o "$ICONS/${size}x${size}/apps/example.kalmora.Kalmora.png"
    echo "packaging/icons/hicolor/${size}x${size}/apps/example.kalmora.Kalmora.png"
done
