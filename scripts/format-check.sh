#!/usr/bin/env bash
# Fails when a C++ file of the tree is not as .clang-format lays it out; with --fix, lays it out.
# Debian 12's clang-format (14) is the reference: another version may lay out a few lines otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${sources[@]}"
  exit 0
fi
unformatted=()
for f in "${sources[@]}"; do
  clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "Not formatted by .clang-format (scripts/format-check.sh --fix lays them out):"
  printf '  %s\n' "${unformatted[@]}"
  exit 1
fi
echo "format check: ${#sources[@]} files as .clang-format lays them out"
