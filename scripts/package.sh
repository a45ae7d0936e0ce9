#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package build/orbista_VERSION_ARCH.deb;
# checks the desktop entry and the AppStream metainfo, that the package holds every file a desktop
# needs and the manual page of orbista-sim, and that lintian finds no error in it. Install it with:
# sudo apt-get install ./build/orbista_*.deb
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
            usr/share/icons/hicolor/scalable/apps/orbista.svg usr/share/man/man1/orbista-sim.1.gz \
            usr/share/metainfo/org.orbista.Orbista.metainfo.xml usr/share/orbista/orbista.chm; do
    if ! grep -q " \./$file\$" <<<"$contents"; then
        echo "$package lacks /$file" >&2
        exit 1
    fi
done
# Debian's own check of the package: no error (warnings are printed, not fatal).
lintian --fail-on error --tag-display-limit 0 "$package" >&2 ||
    { echo "lintian reports errors in $package" >&2; exit 1; }
echo "$package"
