# Shared by fuzz-smoke.sh and fuzz-long.sh (sourced, not run): builds the libFuzzer harnesses
# with clang (AddressSanitizer and UndefinedBehaviorSanitizer) into build-fuzz/, makes their
# seeds and runs one harness with its progress in a log file.

fuzz_root=$(cd "$(dirname "$0")/.." && pwd)
fuzz_build="${FUZZ_BUILD:-$fuzz_root/build-fuzz}"  # another folder keeps a long run apart
fuzz_harnesses="exchange_reader_fuzzer exchange_line_list_fuzzer dbf_table_fuzzer export_fuzzer import_fuzzer"

fuzz_build_all() {
  launcher=""
  if command -v ccache >/dev/null; then launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"; fi
  mkdir -p "$fuzz_build"
  cmake -S "$fuzz_root/fuzz" -B "$fuzz_build" -DCMAKE_CXX_COMPILER=clang++ $launcher >/dev/null
  cmake --build "$fuzz_build" -j2 >"$fuzz_build/build.log" 2>&1 || {
    cat "$fuzz_build/build.log" >&2
    return 1
  }
}

# Seeds: every ROVA-shaped text file and every table the project's tests and samples hold,
# and for the whole-run harnesses the sample folder joined into one input.
fuzz_seed_dir() {
  dir="$fuzz_build/seeds/$1"
  rm -rf "$dir"
  mkdir -p "$dir"
  find "$fuzz_root/samples" "$fuzz_root/tests" -type f \( -iname "$2" \) -exec cp {} "$dir/" \; 2>/dev/null || true
  # A small hand-made seed so a harness never starts from nothing.
  printf '%s' "$3" > "$dir/minimal"
}

fuzz_make_seeds() {
  fuzz_seed_dir exchange_reader_fuzzer '*.txt' "$(printf '0ROVA_PROF.TXT\r\n1P01 Ana\r\n9ROVA_PROF.TXT 1\r\n')"
  fuzz_seed_dir exchange_line_list_fuzzer '*.txt' "$(printf '0\r\n1   0001L08000855\r\n\032')"
  fuzz_seed_dir dbf_table_fuzzer '*.dbf' ""
  fuzz_seed_dir export_fuzzer '*.none' ""
  fuzz_seed_dir import_fuzzer '*.none' ""
  "$fuzz_build/make_seeds" "$fuzz_root/samples" "$fuzz_build/seeds/export_fuzzer/samples" \
    "$fuzz_build/seeds/import_fuzzer/samples"
  mkdir -p "$fuzz_build/findings" "$fuzz_build/logs"
}

# fuzz_run <harness> <libFuzzer options...>: runs the harness on its corpus and seeds with its
# output in build-fuzz/logs/<harness>.log; returns non-zero when it found a failure.
fuzz_run() {
  harness="$1"
  shift
  corpus="$fuzz_build/corpus/$harness"
  mkdir -p "$corpus"
  # A whole run allocates and frees every file it reads and writes; with AddressSanitizer's
  # default quarantine (256 MB of freed memory held back) each allocation lands on pages never
  # touched before, and page faults took most of the time. 16 MB still holds back the frees of
  # many whole runs, so a use after free is still caught.
  ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16}" "$fuzz_build/$harness" "$@" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$fuzz_build/findings/$harness-" \
    "$corpus" "$fuzz_build/seeds/$harness" >"$fuzz_build/logs/$harness.log" 2>&1
}

# One line for a harness from its log: executions, executions per second, coverage (edges
# reached), corpus size and crashes (inputs kept in findings/).
fuzz_summary() {
  harness="$1"
  log="$fuzz_build/logs/$harness.log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  # Without final figures (a run cut short), the last progress line tells how far it got.
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  [ -n "$runs" ] || runs=$(printf '%s' "$last" | sed -n 's/^#\([0-9]*\).*/\1/p')
  [ -n "$speed" ] || speed=$(printf '%s' "$last" | sed -n 's/.*exec\/s: \([0-9]*\).*/\1/p')
  cov=$(printf '%s' "$last" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')
  corp=$(printf '%s' "$last" | sed -n 's/.* corp: \([0-9]*\).*/\1/p')
  # libFuzzer also keeps inputs that were merely slow (slow-unit-*); those are no failure.
  crashes=$(find "$fuzz_build/findings" -name "$harness-*" ! -name "$harness-slow-unit-*" -type f | wc -l)
  echo "$harness: ${runs:-0} executions, ${speed:-0} exec/s, coverage ${cov:-0} edges, corpus ${corp:-0}, $crashes crashes"
}
