#!/bin/sh
# Runs a test program as an ordinary user: as root (as CI runs) through setpriv as nobody, so that
# the tests of what an ordinary user may not do are run rather than skipped; as anyone else as is.
#   run_unprivileged.sh PROGRAM [ARGUMENTS...]
if [ "$(id -u)" -eq 0 ]; then
    exec setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env ORBISTA_UNPRIVILEGED_RUN=1 "$@"
fi
exec env ORBISTA_UNPRIVILEGED_RUN=1 "$@"
