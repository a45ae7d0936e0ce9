#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package build/orbista_VERSION_ARCH.deb;
# checks the desktop entry and the AppStream metainfo, and that the package holds every file a
# desktop needs. Install it with: sudo apt-get install ./build/orbista_*.deb
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing_packages
build "$@"

desktop-file-validate "$ROOT/packaging/org.orbista.Orbista.desktop"
appstreamcli validate --no-net --explain "$ROOT/packaging/org.orbista.Orbista.metainfo.xml" >/dev/null

rm -f "$BUILD"/orbista_*.deb
(cd "$BUILD" && cpack -G DEB >/dev/null)
package=$(ls "$BUILD"/orbista_*.deb)
contents=$(dpkg-deb -c "$package")
for file in usr/bin/orbista usr/bin/orbista-sim usr/share/applications/org.orbista.Orbista.desktop \
            usr/share/icons/hicolor/scalable/apps/orbista.svg \
            usr/share/metainfo/org.orbista.Orbista.metainfo.xml usr/share/orbista/orbista.chm; do
    if ! grep -q " \./$file\$" <<<"$contents"; then
        echo "$package lacks /$file" >&2
        exit 1
    fi
done
echo "$package"
