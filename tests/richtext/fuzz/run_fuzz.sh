#!/bin/sh
# Builds the RTF fuzz target with clang and runs it for DURATION seconds (default 60),
# seeded with the RTF corpus when it is available.
# Usage: tests/richtext/fuzz/run_fuzz.sh [DURATION]
set -eu
duration="${1:-60}"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../../.." && pwd)"
build="${KORV_FUZZ_BUILD_DIR:-$root/build-fuzz}"
corpus="${KORVELLE_RTF_CORPUS:-$root/../shared/rtf-corpus}"

command -v clang++ >/dev/null || { echo "clang++ is required (apt-get install clang)" >&2; exit 2; }

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORV_FUZZ=ON >/dev/null
cmake --build "$build" --target rtf_fuzz -j2

work="$build/rtf-fuzz-corpus"
mkdir -p "$work"
seeds=""
if [ -d "$corpus" ]; then
    seeds="$build/rtf-fuzz-seeds"
    mkdir -p "$seeds"
    find "$corpus" -name '*.rtf' -exec cp {} "$seeds/" \;
fi

cd "$build"
export QT_QPA_PLATFORM=offscreen
# shellcheck disable=SC2086
exec "$build/tests/richtext/rtf_fuzz" -max_total_time="$duration" -max_len=262144 \
    -rss_limit_mb=4096 -timeout=20 "$work" $seeds
