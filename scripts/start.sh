#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Off Windows it runs under Wine: on
# this display when there is one, otherwise on a virtual display, saving a screenshot of the
# main window to build/x86_64/stampctl.png.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh i686 x86_64
echo "start.sh: the programs are build/i686/stampctl.exe (32-bit) and build/x86_64/stampctl.exe" >&2
exec e2e/run.sh build/x86_64 --show
