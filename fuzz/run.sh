#!/usr/bin/env bash
# Runs every fuzz target for SECONDS seconds each (default 10), one after the other, each from
# a scratch copy of its seed corpus in fuzz/corpus/, so that nothing new lands in the repo.
# Configures and builds build/fuzz (clang, ASan + UBSan) first when needed.
#
#   fuzz/run.sh [SECONDS]
#
# Prints, per target, the executions reached and whether it found anything; exits non-zero
# when any target crashed, failed a property or got a sanitizer report. Inputs that did are
# kept in build/fuzz/findings/<target>/ and can be replayed with: build/fuzz/<target> FILE
# Environment: FUZZ_SECONDS (when no argument is given), FUZZ_BUILD_DIR (default build/fuzz),
# FUZZ_SKIP_BUILD=1 (set by "ninja fuzz", which has just built the targets).
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${FUZZ_BUILD_DIR:-$root/build/fuzz}"
seconds="${1:-${FUZZ_SECONDS:-${FUZZ_DEFAULT_SECONDS:-10}}}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || (( seconds < 1 )); then
  echo "usage: fuzz/run.sh [SECONDS]   (SECONDS a whole number, at least 1)" >&2
  exit 2
fi

# The targets are the folders of the seed corpus; CMake refuses a target without one.
targets=()
for dir in "$here"/corpus/*/; do targets+=("$(basename "$dir")"); done

if [[ "${FUZZ_SKIP_BUILD:-0}" != 1 ]]; then
  if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DSTAMPCTL_FUZZ=ON >/dev/null || exit 1
  fi
  cmake --build "$build" --target "${targets[@]}" || exit 1
fi

scratch="$(mktemp -d "${TMPDIR:-/tmp}/stampctl-fuzz.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

failed=0
summary=()
for target in "${targets[@]}"; do
  binary="$build/$target"
  if [[ ! -x "$binary" ]]; then
    echo "$target: not built ($binary)" >&2
    failed=1
    summary+=("$(printf '%-22s not built' "$target")")
    continue
  fi
  corpus="$scratch/$target/corpus"
  findings="$build/findings/$target"
  # Findings of an earlier run are not this run's.
  rm -rf "$findings"
  mkdir -p "$corpus" "$findings"
  cp -R "$here/corpus/$target/." "$corpus/"
  log="$scratch/$target/log"

  echo "== $target: ${seconds}s"
  "$binary" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/" \
    "$corpus" >"$log" 2>&1
  status=$?

  executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  if [[ -z "$executions" ]]; then
    # A run that died before its final statistics: its last status line has the count.
    executions="$(grep -o '^#[0-9]*' "$log" | tail -n 1 | tr -d '#')"
  fi
  artifacts="$(find "$findings" -maxdepth 1 -type f | sort)"
  if (( status != 0 )) || [[ -n "$artifacts" ]] || grep -q 'ERROR: \(AddressSanitizer\|LeakSanitizer\|UndefinedBehaviorSanitizer\|libFuzzer\)\|runtime error:\|property violated' "$log"; then
    failed=1
    verdict="FOUND SOMETHING (exit $status)"
    grep -m 12 -A 1 -E 'ERROR:|runtime error:|property violated|SUMMARY:' "$log" | grep -v '^ *#\|^--$' | sed 's/^/   | /'
    [[ -n "$artifacts" ]] && echo "$artifacts" | sed 's/^/   input: /'
    cp "$log" "$findings/log.txt"
    echo "   log: $findings/log.txt"
  else
    verdict="nothing found"
  fi
  summary+=("$(printf '%-22s %12s executions   %s' "$target" "${executions:-?}" "$verdict")")
done

echo
echo "fuzzing, ${seconds}s per target:"
printf '  %s\n' "${summary[@]}"
exit "$failed"
