#!/usr/bin/env bash
# Builds everything in Debug with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ and runs every test there. Any sanitizer report fails the test it came from.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build-sanitize"
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=Debug -DVERNOLAT_SANITIZE=ON "${launcher[@]}" >/dev/null
cmake --build "$out" -j"$(nproc)"
export ASAN_OPTIONS="abort_on_error=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$root/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$out"
ctest --output-on-failure -j"$(nproc)" "$@"
