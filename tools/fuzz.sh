#!/usr/bin/env bash
# The libFuzzer harnesses of fuzz/, built with clang, ASan and UBSan into build-fuzz/.
#   tools/fuzz.sh SECONDS        builds, then runs every harness for SECONDS each
#   tools/fuzz.sh build          only builds
#   tools/fuzz.sh run NAME SECS  runs one harness (what ctest runs after the build)
# New inputs a run finds go to build-fuzz/corpus/NAME; the seeds in fuzz/corpus/NAME stay as
# they are. A crash leaves its input in build-fuzz/ and ends the script with an error.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build-fuzz"
harnesses=(layoutfile numbers dataset worksheet solver stockplan recipefile)

build() {
    local launcher=()
    command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    CC=clang CXX=clang++ cmake -S "$root" -B "$out" -DVERNOLAT_FUZZ=ON \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
    cmake --build "$out" -j"$(nproc)" >/dev/null
}

run() {
    local name="$1" seconds="$2"
    mkdir -p "$out/corpus/$name" "$out/crashes"
    UBSAN_OPTIONS=print_stacktrace=1 \
        "$out/fuzz/${name}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$out/crashes/${name}-" \
        "$out/corpus/$name" "$root/fuzz/corpus/$name" 2>"$out/$name.log" || {
        tail -n 40 "$out/$name.log" >&2
        echo "$name: FAILED (log: $out/$name.log)" >&2
        return 1
    }
    local runs
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$name.log" | tail -n 1)"
    echo "$name: ${runs:-?} executions in ${seconds} s"
}

case "${1:-}" in
    build)
        build
        ;;
    run)
        run "$2" "$3"
        ;;
    '' | *[!0-9]*)
        echo "usage: $0 SECONDS | build | run NAME SECONDS" >&2
        exit 2
        ;;
    *)
        build
        status=0
        for h in "${harnesses[@]}"; do
            run "$h" "$1" || status=1
        done
        exit $status
        ;;
esac
