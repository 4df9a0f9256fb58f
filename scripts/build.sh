#!/usr/bin/env bash
# build.sh <build-dir> <build-type> [extra cmake arguments...]
set -euo pipefail
dir=$1; type=$2; shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/$dir" -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
cmake --build "$root/$dir" --parallel "$(nproc)"
