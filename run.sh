#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it from the repository
# root, which holds Data/ and settings.xml.
set -euo pipefail
cd "$(dirname "$0")"

Tools/setup.sh
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/run --target zev

if [[ -z "${DISPLAY:-}" ]]; then
    echo "No display to open the game's window on; to run it under a virtual display:"
    echo "  SDL_AUDIODRIVER=dummy xvfb-run -a -s \"-screen 0 1024x768x24\" ./run.sh"
    exit 1
fi
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-x11}
exec build/run/zev
