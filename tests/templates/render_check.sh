#!/usr/bin/env bash
# Renders the shipped result templates over a realistic list and has a
# headless browser draw an images page and a frame page. The pictures must
# come out as real PNGs of the window's size with more in them than a blank
# page. Usage: render_check.sh TEST_TEMPLATES_PROGRAM [CHROMIUM]
set -u
program=${1:?test_templates program}
browser=${2:-chromium}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! FLK_RENDER_DIR="$work/pages" "$program" --gtest_filter='ShippedTemplates.RenderRealisticListsForEveryLevel' \
        >"$work/render.log" 2>&1; then
    cat "$work/render.log"
    echo "render check: pages were not rendered"
    echo "0 passed, 1 failed"
    exit 1
fi

passed=0
failed=0
check() {  # page file, picture name
    local page=$1 png="$work/$2.png"
    timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$work/profile-$2" --screenshot="$png" --window-size=1200,900 \
        "file://$page" >"$work/$2.log" 2>&1
    local why=""
    if [[ ! -s $png ]]; then
        why="no picture"
    elif [[ $(head -c 8 "$png" | od -An -tx1 | tr -d ' \n') != 89504e470d0a1a0a ]]; then
        why="not a PNG"
    else
        # Width and height from the IHDR chunk, bytes 16-23.
        local size
        size=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}')
        # A blank 1200x900 page compresses to a few kilobytes; thumbnails,
        # text and borders make far more.
        local bytes
        bytes=$(stat -c %s "$png")
        if [[ $size != 1200x900 ]]; then
            why="picture is $size"
        elif ((bytes < 20000)); then
            why="picture looks blank ($bytes bytes)"
        fi
    fi
    if [[ -z $why ]]; then
        passed=$((passed + 1))
        echo "ok   $2"
    else
        failed=$((failed + 1))
        echo "FAIL $2: $why"
        cat "$work/$2.log"
    fi
}

check "$work/pages/2/ImagesList0.htm" images
check "$work/pages/2/ImagesFrame2.htm" frame
check "$work/pages/1/AudioList0.htm" sounds

echo "$passed passed, $failed failed"
((failed == 0))
