#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing_packages
build ${ORBISTA_CMAKE_ARGS:-}
ctest --test-dir "$BUILD" --output-on-failure -j "$(nproc)"
