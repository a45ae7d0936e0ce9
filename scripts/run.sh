#!/usr/bin/env bash
# Installs what is missing, builds, and starts ORBISTA.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing_packages
build
exec "$BUILD/ui/orbista" "$@"
