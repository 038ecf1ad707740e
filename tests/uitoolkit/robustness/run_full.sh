#!/usr/bin/env bash
# The full robustness run: N mutated inputs per target (default 100000)
# for the markup parser, the zip reader and the image loader, N / 20
# mutated skins of the combo, date-time and tree tags, and a share of that
# for skins with mutated rich-edit attributes, under Wine.
# Prints the inputs fed, the time taken and the slowest input per target.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BUILD=${KELVORA_BUILD_DIR:-$ROOT/build}
export UITOOLKIT_MUTATIONS=${1:-100000}
cd "$BUILD/tests/uitoolkit/robustness"
"$BUILD/wine-run.sh" ./uitoolkit_mutation_tests.exe --gtest_color=no
# The combo, date-time and tree tags: N / 20 mutated skins.
"$BUILD/wine-run.sh" ./uitoolkit_selector_mutation_tests.exe --gtest_color=no
