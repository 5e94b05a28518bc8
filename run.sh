#!/usr/bin/env bash
# Installs what is missing, builds Kavrix (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
. ./scripts_common.sh
kavrix_install_missing
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVRIX_TESTS=OFF -DKAVRIX_BENCH=OFF >/dev/null
cmake --build build/release -j "$(kavrix_jobs)" --target kavrix
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found. Start Kavrix inside a virtual display instead:" >&2
  echo "  cd build/release && xvfb-run -a ./kavrix" >&2
  exit 1
fi
# The price list, the estimate's logo and the documents are looked up where Kavrix starts.
cd build/release
exec ./kavrix "$@"
