#!/usr/bin/env bash
# Runs the benchmarks on the large sample checklist: bash bench/run.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
data="$build/bench-data/large.lst"
mkdir -p "$(dirname "$data")"
[ -f "$data" ] || "$build/bench/make_large_checklist" "$data"

echo "== load and save (Google Benchmark; iconv alone on the same bytes beside each)"
TAVIK_BENCH_FILE="$data" "$build/bench/checklist_bench" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_min_time=1
echo "== peak memory while loading"
"$build/bench/load_peak_memory" "$data"
echo "== loading in fresh processes: tavik-lst stats beside iconv decoding the same file (best of 5)"
if command -v iconv >/dev/null 2>&1; then
  "$build/bench/process_bench" --runs 5 "$build/tools/tavik-lst" stats "$data" -- iconv -f CP932 -t UTF-16LE "$data"
else
  echo "iconv (Debian package libc-bin) is not installed: skipped"
fi
if [ -x "$build/bench/window_bench" ]; then
  echo "== the program with the large checklist open, beside the model alone (offscreen)"
  TAVIK_BENCH_FILE="$data" "$build/bench/window_bench"
fi
if [ -x "$build/bench/find_bench" ]; then
  echo "== find across the large checklist"
  TAVIK_BENCH_FILE="$data" "$build/bench/find_bench"
fi
if [ -x "$build/bench/link_button_bench" ]; then
  echo "== the item editor's link buttons on four 12-megapixel photos (offscreen)"
  "$build/bench/link_button_bench"
fi
if [ -x "$build/bench/startup_bench" ]; then
  echo "== cold start to the main window shown"
  bash bench/startup.sh "$build"
fi
