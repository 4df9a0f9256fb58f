#!/usr/bin/env bash
# Refreshes the user guide's pictures in docs/: runs the end-to-end workflow
# (and the file sharing, recovery and maturities scripts) against a fresh build, taking a screenshot of every window on the way.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build/release Release -DTD_BUILD_TESTS=OFF
E2E_SCREENSHOT_DIR="$PWD/docs" bash tests/e2e/workflow.sh build/release/src/termdeposit
E2E_SCREENSHOT_DIR="$PWD/docs" bash tests/e2e/sharing.sh build/release/src/termdeposit
E2E_SCREENSHOT_DIR="$PWD/docs" bash tests/e2e/recovery.sh build/release/src/termdeposit
E2E_SCREENSHOT_DIR="$PWD/docs" bash tests/e2e/maturities.sh build/release/src/termdeposit
