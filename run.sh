#!/usr/bin/env bash
# Installs what is missing, builds Orvex (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVEX_BUILD_TESTS=OFF -DORVEX_BUILD_BENCH=OFF >/dev/null
cmake --build build/release
if [ -x build/release/bin/orvex ]; then
  exec build/release/bin/orvex
else
  echo "Orvex has no desktop application yet: the model engine is built in build/release."
fi
