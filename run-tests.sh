#!/usr/bin/env bash
# Builds the engine and runs every test (unit tests and whole jobs).
set -euo pipefail
cd "$(dirname "$0")"
cmake --preset default
cmake --build --preset default
ctest --preset default
