#!/bin/sh
# Builds the libFuzzer harnesses with clang (AddressSanitizer and UndefinedBehaviorSanitizer)
# into build-fuzz/ and runs each for a bounded time, seeded with the project's own ROVA files
# and test tables. Exits non-zero when a harness finds a crash; the input that caused it is
# kept in build-fuzz/findings/.
#   scripts/fuzz-smoke.sh            # about a minute per harness
#   FUZZ_SECONDS=1200 scripts/fuzz-smoke.sh
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds="${FUZZ_SECONDS:-60}"

cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2

# Seeds: every ROVA-shaped text file and every table the project's tests and samples hold.
seed_dir() {
  dir="$build/seeds/$1"
  rm -rf "$dir"
  mkdir -p "$dir"
  find "$root/samples" "$root/tests" -type f \( -iname "$2" \) -exec cp {} "$dir/" \; 2>/dev/null || true
  # A small hand-made seed so a harness never starts from nothing.
  printf '%s' "$3" > "$dir/minimal"
}
seed_dir exchange_reader_fuzzer '*.txt' "$(printf '0ROVA_PROF.TXT\r\n1P01 Ana\r\n9ROVA_PROF.TXT 1\r\n')"
seed_dir exchange_line_list_fuzzer '*.txt' "$(printf '0\r\n1   0001L08000855\r\n\032')"
seed_dir dbf_table_fuzzer '*.dbf' ""

mkdir -p "$build/findings"
status=0
for harness in exchange_reader_fuzzer exchange_line_list_fuzzer dbf_table_fuzzer; do
  corpus="$build/corpus/$harness"
  mkdir -p "$corpus"
  echo "== $harness: $seconds s"
  if ! "$build/$harness" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -print_final_stats=1 \
      -artifact_prefix="$build/findings/$harness-" "$corpus" "$build/seeds/$harness"; then
    echo "!! $harness found a failure; see $build/findings/" >&2
    status=1
  fi
done
exit $status
