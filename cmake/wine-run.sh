#!/bin/sh
# Runs one Windows program under Wine in the build's private prefix.
# The Makefile creates the prefix and keeps one wineserver alive for a test run.
: "${WINEPREFIX:=$(pwd | sed 's|\(/build/windows\).*|\1|')/wineprefix}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
