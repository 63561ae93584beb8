#!/usr/bin/env bash
# Runs a Windows program under the project's Wine (CMake's emulator for cross-built tests).
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec "$WINE" "$@"
