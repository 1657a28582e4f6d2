#!/bin/sh
# Builds the fuzz target of the encrypted-record reader with clang and runs it for
# DURATION seconds (default 60), seeded with a few well-formed files.
# Usage: tests/model/fuzz/run_fuzz.sh [DURATION] [libFuzzer options...]
set -eu
duration="${1:-60}"
[ $# -gt 0 ] && shift
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../../.." && pwd)"
build="${KORV_FUZZ_BUILD_DIR:-$root/build-fuzz}"

command -v clang++ >/dev/null || { echo "clang++ is required (apt-get install clang)" >&2; exit 2; }

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORV_FUZZ=ON >/dev/null
cmake --build "$build" --target crypt_fuzz -j2

work="$build/crypt-fuzz-corpus"
seeds="$build/crypt-fuzz-seeds"
mkdir -p "$work" "$seeds"
# Key length byte, key, then records: one empty input, one record of 8, one of 16 bytes.
printf '\005geheim' >"$seeds/empty"
printf '\005geheim\010\000\000\000\005\000\000\000ABCDEFGH' >"$seeds/one-record"
printf '\001pw\020\000\000\000\011\000\000\000ABCDEFGHIJKLMNOP' >"$seeds/two-blocks"
printf '\003abc0123456789abcdef' >"$seeds/hex"

cd "$build"
exec "$build/tests/model/crypt_fuzz" -max_total_time="$duration" -max_len=65536 \
    -rss_limit_mb=2048 -timeout=20 "$@" "$work" "$seeds"
