#!/usr/bin/env bash
# Builds in release mode, runs every benchmark of the project and prints one table, each figure
# beside its baseline measured in the same run.
#   bench/run.sh [name-filter]
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build=build-bench
cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVIGIL_BUILD_BENCH=ON >/dev/null || exit 1
# One program per bench/*.cpp (the generator's target listing is not the same for every generator).
benches=$(cd bench && ls *.cpp | sed 's/^/bench_/; s/\.cpp$//')
cmake --build $build -j"$(nproc)" --target $benches >/dev/null || { cmake --build $build --target $benches 2>&1 | tail -30; exit 1; }
export QT_QPA_PLATFORM=offscreen
rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
for exe in $build/bench/bench_*; do
  [ -f "$exe" ] && [ -x "$exe" ] || continue
  case "$(basename "$exe")" in *"${1:-}"*) ;; *) continue ;; esac
  echo "running $(basename "$exe") ..." >&2
  "$exe" | grep -P '^ROW\t' >>"$rows" || echo "ROW	$(basename "$exe") failed	-	-	-	-	-" >>"$rows"
done
echo
echo "Measured $(date -u +%Y-%m-%d) on $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo
printf '| %-44s | %14s | %-36s | %14s | %-14s |\n' figure measured baseline "baseline value" target
printf '|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..46})" "$(printf -- '-%.0s' {1..16})" \
  "$(printf -- '-%.0s' {1..38})" "$(printf -- '-%.0s' {1..16})" "$(printf -- '-%.0s' {1..16})"
while IFS=$'\t' read -r _ figure value unit baseline bvalue target; do
  printf '| %-44s | %14s | %-36s | %14s | %-14s |\n' "$figure" "$value $unit" "$baseline" "$bvalue $unit" "$target"
done <"$rows"
