#!/bin/sh
# Builds the profile-file fuzz target with clang and runs it for DURATION seconds (default 60)
# on one core, seeded with the files beside this script.
# Usage: tests/store/fuzz/run_fuzz.sh [DURATION]
set -eu
duration="${1:-60}"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../../.." && pwd)"
build="${KORV_FUZZ_BUILD_DIR:-$root/build-fuzz}"

command -v clang++ >/dev/null || { echo "clang++ is required (apt-get install clang)" >&2; exit 2; }

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORV_FUZZ=ON >/dev/null
cmake --build "$build" --target profile_fuzz -j2

work="$build/profile-fuzz-corpus"
mkdir -p "$work"
cd "$build"
# Every input is written and synced twice: a memory file system keeps that cheap.
[ -d /dev/shm ] && export TMPDIR=/dev/shm
exec "$build/tests/store/profile_fuzz" -max_total_time="$duration" -max_len=65536 \
    -rss_limit_mb=4096 -timeout=20 -jobs=1 -workers=1 "$work" "$here/seeds"
