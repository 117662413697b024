#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native suite (plain and
# under AddressSanitizer and UndefinedBehaviorSanitizer), the fuzz targets for a short time, and
# the end-to-end scenarios that drive the real program under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh native native-sanitize i686 x86_64

status=0
step() {
  echo "== $1" >&2
  shift
  "$@" || status=1
}

step "the executables" scripts/check-exe.sh
step "native tests" ctest --test-dir build/native --output-on-failure -j2
step "native tests under ASan and UBSan" ctest --test-dir build/native-sanitize --output-on-failure -j2
if [[ -x fuzz/run.sh ]]; then
  step "fuzz targets, briefly" fuzz/run.sh "${FUZZ_SECONDS:-5}"
fi
step "end-to-end under Wine" e2e/run.sh build/x86_64

if ((status)); then echo "test.sh: FAILED" >&2; else echo "test.sh: all passed" >&2; fi
exit "$status"
