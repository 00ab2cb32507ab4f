#!/usr/bin/env bash
# Fuzzes the reading of "setup.ini" (ReadSetupValue and the INI reading)
# with libFuzzer under AddressSanitizer and UBSan.
#
#   fuzz-setup.sh [seconds]     default 300; the test suite runs it for a few
#
# Seeds come from tests/fuzz/corpus/setup_ini (never written to); what the
# run finds goes to build/fuzz/corpus, crashes to build/fuzz/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
out=$root/build/fuzz
bin=$out/setup_ini_fuzz
mkdir -p "$out/corpus"

sources=(
  "$root/tests/fuzz/setup_ini_fuzz.cpp"
  "$root/setup/setupcommon/setup_value.cpp"
  "$root/setup/setupcommon/ini_strings.cpp"
  "$root/common/registry/registry_store.cpp"
  "$root/tests/fakes/fake_ini.cpp"
)
stale=0
[ -x "$bin" ] || stale=1
for f in "${sources[@]}" "$0"; do [ "$f" -nt "$bin" ] 2>/dev/null && stale=1; done
if [ "$stale" = 1 ]; then
  clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$root" "${sources[@]}" -o "$bin"
fi

cd "$out"
"$bin" -max_total_time="$seconds" -max_len=4096 -timeout=5 -print_final_stats=1 \
  "$out/corpus" "$root/tests/fuzz/corpus/setup_ini" 2>"$out/last-run.log" || {
  tail -40 "$out/last-run.log" >&2
  exit 1
}
grep -E "stat::number_of_executed_units|Done" "$out/last-run.log" || true
