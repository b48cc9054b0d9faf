#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds (default 60) on a working copy of its
# seed corpus, and prints executions and crashes per target. Exits non-zero on any crash.
#   fuzz/run.sh [seconds] [target...]
# With FUZZ_KEEP_CORPUS=1 the inputs of a run that add coverage are merged back into
# fuzz/corpus/<target> (libFuzzer's -merge=1 keeps only those).
set -uo pipefail
shopt -s nullglob
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVIGIL_WITH_QT=OFF -DVIGIL_BUILD_FUZZERS=ON -DVIGIL_BUILD_BENCH=OFF \
  -DVIGIL_SANITIZE=address,undefined >/dev/null || exit 1
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*.cpp; do targets+=("$(basename "${f%.cpp}")"); done
fi
[ ${#targets[@]} -eq 0 ] && { echo "no fuzz targets"; exit 0; }
cmake --build $build -j"$(nproc)" --target "${targets[@]}" >/dev/null || exit 1
status=0
printf '%-28s %14s %8s\n' target executions crashes
for t in "${targets[@]}"; do
  work=$build/fuzz-work/$t
  rm -rf "$work" && mkdir -p "$work/corpus" "$work/artifacts"
  [ -d "fuzz/corpus/$t" ] && cp -r "fuzz/corpus/$t/." "$work/corpus/"
  # A target may ask for its own libFuzzer options in a "// fuzz-flags:" line of its source.
  read -r -a flags <<<"$(sed -n 's|^// fuzz-flags:||p' "fuzz/$t.cpp" 2>/dev/null)"
  "$build/fuzz/$t" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
     "${flags[@]}" "$work/corpus" >"$work/log" 2>&1
  rc=$?
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/log" | grep -o '[0-9]*$')
  crashes=$(find "$work/artifacts" -type f | wc -l)
  printf '%-28s %14s %8s\n' "$t" "${execs:-?}" "$crashes"
  if [ "${FUZZ_KEEP_CORPUS:-0}" = 1 ] && [ "$crashes" -eq 0 ]; then
    mkdir -p "fuzz/corpus/$t"
    "$build/fuzz/$t" -merge=1 "${flags[@]}" "fuzz/corpus/$t" "$work/corpus" >"$work/merge.log" 2>&1
  fi
  if [ $rc -ne 0 ] || [ "$crashes" -ne 0 ]; then
    status=1
    tail -40 "$work/log"
  fi
done
exit $status
