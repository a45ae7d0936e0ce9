#!/usr/bin/env bash
# Installs what is missing, builds, and renders every tab, menu and dialog of the window offscreen
# into build/screenshots (or the folder given).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing_packages
build
OUT="${1:-$BUILD/screenshots}"
QT_QPA_PLATFORM=offscreen "$BUILD/ui/orbista-screenshots" "$OUT"
