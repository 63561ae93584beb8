#!/usr/bin/env bash
# Stands in for Wine on a machine whose Windows programs run in the emulated machine
# (SETUP_WINE_WHERE=vm): anything that still starts one here fails at once, as a kernel that
# runs no 32-bit code makes the real one fail.
echo "${0##*/}: no Windows program runs on this machine (SETUP_WINE_WHERE=vm; asked for: $*)" >&2
exit 126
