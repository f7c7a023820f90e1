#!/usr/bin/env bash
# Builds the engine and runs the bundled example job; its output lands in examples/.
set -euo pipefail
cd "$(dirname "$0")"
cmake --preset default >/dev/null
cmake --build --preset default --target kova
cd examples
../build/default/kova example.par
echo "Output file: examples/$(ls -t *.out | head -n 1)   Log: examples/example.log"
