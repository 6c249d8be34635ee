#!/usr/bin/env bash
# Builds the fuzz targets (clang's libFuzzer with ASan and UBSan, in
# build/fuzz) and runs them for as long as asked, several processes side by
# side for each. A target goes on past a crash, so that one fault does not
# hide the next (libFuzzer's fork mode, which restarts its processes all the
# time); every crashing, leaking or hanging input is kept in
# build/fuzz/crashes/<Target>/, the inputs that reached new code in
# build/fuzz/corpus/<Target>/ and what libFuzzer printed in
# build/fuzz/logs/<Target>.log. ZEV_FUZZ_BUILD names another build folder.
#
#   Tools/fuzz.sh [-t SECONDS] [-j WORKERS] [-x] [TARGET...] [-- LIBFUZZER-OPTION...]
#   Tools/fuzz.sh --build
#
#   -t   seconds for each target (default 60)
#   -j   processes for each target (default half the cores)
#   -x   independent processes that each stop at their first crash: more
#        inputs a second where crashes are rare (their logs are
#        build/fuzz/logs/<Target>-<n>.log)
#   --build  only configure and build; exits 2 when clang cannot link libFuzzer
#
# The targets are Settings, DataReader, UiDataReader, TextureFont, Archive,
# ModelFile, XFile, ShipFile and Conversation (all by default). A crash is
# replayed with its target alone:
#   build/fuzz/<Target>Fuzz build/fuzz/crashes/<Target>/crash-...
# (with its absolute path, for -minimize_crash=1, which starts it again).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${ZEV_FUZZ_BUILD:-$root/build/fuzz}
all_targets=(Settings DataReader UiDataReader TextureFont Archive ModelFile XFile ShipFile
    Conversation)

seconds=60
workers=$(( $(nproc) / 2 > 0 ? $(nproc) / 2 : 1 ))
keep_going=1
build_only=0
targets=()
extra=()
while [[ $# -gt 0 ]]; do
    case $1 in
        -t) seconds=$2; shift 2 ;;
        -j) workers=$2; shift 2 ;;
        -x) keep_going=0; shift ;;
        --build) build_only=1; shift ;;
        --) shift; extra=("$@"); break ;;
        -h|--help) sed -n '2,/^set /{/^set /d;s/^# \{0,1\}//;p}' "$0"; exit 0 ;;
        -*) echo "Unknown option: $1" >&2; exit 1 ;;
        *) targets+=("$1"); shift ;;
    esac
done
[[ ${#targets[@]} -gt 0 ]] || targets=("${all_targets[@]}")

libfuzzer_links()
{
    local probe
    probe=$(mktemp -d)
    echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' \
        > "$probe/probe.cpp"
    local status=0
    clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" \
        >/dev/null 2>&1 || status=1
    rm -rf "$probe"
    return $status
}

if ! command -v clang++ >/dev/null || ! libfuzzer_links; then
    echo "clang++ cannot link libFuzzer here (Tools/setup.sh installs it)"
    exit 2
fi
if [[ ! -f $build/build.ninja ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
        -DZEV_FUZZ=ON >/dev/null
fi
cmake --build "$build"
[[ $build_only -eq 0 ]] || exit 0

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/Tools/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

mkdir -p "$build/logs"
# The working folders of the processes, which fork mode ends without
# letting them clean up.
scratch=$(mktemp -d "$( [[ -d /dev/shm ]] && echo /dev/shm || echo "$build")/zev-fuzz-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch
for target in "${targets[@]}"; do
    source_dir=$root/Tests/Fuzz/$target
    if [[ ! -d $source_dir/corpus ]]; then
        echo "No fuzz target $target" >&2
        exit 1
    fi
    mkdir -p "$build/corpus/$target" "$build/crashes/$target"
    options=(-max_total_time="$seconds" -close_fd_mask=1 -print_final_stats=1
             -artifact_prefix="$build/crashes/$target/")
    [[ ! -f $source_dir/$target.dict ]] || options+=(-dict="$source_dir/$target.dict")
    command=("$build/${target}Fuzz" "${options[@]}" "${extra[@]}"
             "$build/corpus/$target" "$source_dir/corpus")
    echo "=== $target: $seconds s, $workers processes"
    if [[ $keep_going -eq 1 ]]; then
        "${command[@]}" -fork="$workers" -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
            > "$build/logs/$target.log" 2>&1 || true
        grep -E '^#[0-9]+: ' "$build/logs/$target.log" | tail -n 1
    else
        # They share the corpus folder and take up each other's finds.
        rm -f "$build/logs/$target"-*.log
        for worker in $(seq "$workers"); do
            "${command[@]}" > "$build/logs/$target-$worker.log" 2>&1 &
        done
        wait || true
        awk '/^stat::number_of_executed_units/ { runs += $2 } END { print "executions: " runs }' \
            "$build/logs/$target"-*.log
        grep -h -E '^==[0-9]+== ?ERROR|^SUMMARY' "$build/logs/$target"-*.log || true
    fi
    echo "crashes kept: $(find "$build/crashes/$target" -type f | wc -l)"
done
