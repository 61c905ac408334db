#!/usr/bin/env bash
# Runs a Windows executable under Wine in the build's test prefix (null graphics driver, no display needed).
# TOLVANE_TEST_PREFIX is set by the entry script; the default suits a plain `ctest` in the build folder.
# With TOLVANE_TEST_DRIVE=K the program also gets a private drive K: over build/testroots/k.
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
prefix=${TOLVANE_TEST_PREFIX:-$build/wine-test}
# The phone's fonts and no font of the host, as for every Wine process of the project. Wine's error messages stay
# on: a program that Wine could not start then says why.
export WINEPREFIX=$prefix WINEDEBUG=-all,err+all WINEDLLOVERRIDES="mscoree,mshtml=" FONTCONFIG_FILE=$root/emulator/fonts.conf
unset DISPLAY
# The phone's own libraries, which the program's code imports from, are on the programs' search path.
export WINEPATH="Z:${build//\//\\}\\emulator\\system"
if [ -n "${TOLVANE_TEST_DRIVE:-}" ]; then
    letter=$(printf '%s' "$TOLVANE_TEST_DRIVE" | tr 'A-Z' 'a-z')
    mkdir -p "$build/testroots/$letter" "$prefix/dosdevices"
    ln -sfn "$build/testroots/$letter" "$prefix/dosdevices/$letter:"
fi
/usr/lib/wine/wine64 "$@"
status=$?
# A failure is named with its status, so one that printed nothing (no start, a death at exit) still says something.
[ "$status" = 0 ] || echo "wine-run: $(basename "$1") ended with status $status" >&2
exit "$status"
