#!/usr/bin/env bash
# check_format.sh [--fix]
# Checks every C++ source file of the repository against .clang-format and
# fails on any difference, naming the files. --fix rewrites them instead.
# Without clang-format it says so and passes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if ! command -v clang-format >/dev/null 2>&1; then
  echo "check_format: clang-format is not installed; formatting not checked."
  exit 0
fi

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find src tests benchmarks fuzz -name '*.cpp' -o -name '*.h' | sort)
fi
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi

differ=()
for f in "${files[@]}"; do
  clang-format --style=file "$f" | cmp -s "$f" - || differ+=("$f")
done
if [ ${#differ[@]} -ne 0 ]; then
  echo "check_format: these files differ from .clang-format (scripts/check_format.sh --fix rewrites them):"
  printf '  %s\n' "${differ[@]}"
  exit 1
fi
echo "check_format: ${#files[@]} files match .clang-format."
