#!/usr/bin/env bash
# Build the program, make the demo library and start the program on it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
vek_install_deps
vek_build

demo="build/demo/demo.vek"
mkdir -p build/demo
rm -f "$demo"
build/bin/vek2000 --make-demo "$demo" --ini build/demo/vek2000.Ini

args=(--ini build/demo/vek2000.Ini "$demo")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  shot="build/demo/screenshot.png"
  QT_QPA_PLATFORM=offscreen build/bin/vek2000 "${args[@]}" --screenshot "$shot"
  echo "No display found: the main window was rendered to $shot"
else
  exec build/bin/vek2000 "${args[@]}"
fi
