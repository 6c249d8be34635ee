#!/usr/bin/env bash
# Installs the benchmark's peers (Debian's meshoptimizer and Assimp; the game
# never uses them), builds the import benchmark in build/bench and runs it from
# the repository root. Its meshes are written under build/bench/.
set -euo pipefail
cd "$(dirname "$0")/.."

Tools/setup.sh
peers=(libmeshoptimizer-dev libassimp-dev)
missing=()
for package in "${peers[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    sudo_cmd=()
    [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S Bench -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench --target import_benchmark
build/bench/import_benchmark "$@"
