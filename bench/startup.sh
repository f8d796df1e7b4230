#!/usr/bin/env bash
# Cold start to the main window shown, median of 10 runs, on Qt's offscreen platform
# and on a private Xvfb display with openbox: bash bench/startup.sh [BUILD_DIR]
set -euo pipefail

build=${1:-build}
bench="$build/bench/startup_bench"
probe="$build/bench/startup_probe"
for program in "$bench" "$probe"; do
    if [ ! -x "$program" ]; then
        echo "startup: $program does not exist; build the targets startup_bench and startup_probe" >&2
        exit 1
    fi
done
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=../scripts/virtual_display.sh
source "$here/../scripts/virtual_display.sh"

trap vd_stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
"$bench" "$probe" offscreen

vd_start 1024x768x24
"$bench" "$probe" xcb
