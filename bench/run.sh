#!/usr/bin/env bash
# Measures stampctl.exe against an empty Win32 window (minimal-window.exe) under Wine: start-up
# time to the main window, peak working set, and the sizes of the executables; then the time of
# each registry and file command against the same Win32 calls written out by hand.
#
#   bench/run.sh [-n RUNS] [-v] [-w] [--build] [-B BUILD_ROOT]
#
#   -n RUNS        timed runs of each program after one warm-up each (default 20)
#   -v             print every run and every batch of commands as it happens
#   -w             time the commands on the real (hidden) main window, check box messages included
#   --build        bring both build trees up to date first (otherwise what is built is measured)
#   -B BUILD_ROOT  folder holding the x86_64 and i686 trees (default: build/ in the repository)
#
# A missing tree is configured and built; a tree that exists is used as it is, except that any of
# the four programs the run needs that is missing is built. Only the x86_64 programs run (64-bit
# Wine); the i686 build is only weighed. Prints figures; it passes or fails nothing on timing.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
runs=20
verbose=()
window=()
rebuild=0
build_root=$repo/build

usage() {
  sed -n '6,12s/^# \{0,1\}//p' "$0" >&2
  exit 2
}

while (($#)); do
  case $1 in
    -n) (($# >= 2)) || usage; runs=$2; shift 2 ;;
    -v) verbose=(-v); shift ;;
    -w) window=(--window); shift ;;
    --build) rebuild=1; shift ;;
    -B) (($# >= 2)) || usage; build_root=$2; shift 2 ;;
    *) usage ;;
  esac
done
[[ $runs =~ ^[1-9][0-9]*$ ]] || usage

log() { printf 'run.sh: %s\n' "$*" >&2; }

# ensure_tree ARCH TARGET...: configures and builds BUILD_ROOT/ARCH when it does not exist, and
# builds those of the targets whose executable is missing when it does.
ensure_tree() {
  local arch=$1 tree=$build_root/$1 target missing=()
  shift
  if [[ ! -f $tree/build.ninja ]]; then
    log "configuring and building $tree"
    cmake -S "$repo" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-$arch.cmake" >/dev/null
    cmake --build "$tree" >&2
    return
  fi
  if ((rebuild)); then
    cmake --build "$tree" >&2
    return
  fi
  for target; do
    [[ -f $tree/$target.exe ]] || missing+=("$target")
  done
  if ((${#missing[@]})); then
    log "building ${missing[*]} in $tree"
    cmake --build "$tree" --target "${missing[@]}" >&2
  fi
}

# The x86_64 tree must yield all four programs; a failing i686 build only leaves its size out.
ensure_tree x86_64 stampctl minimal-window controls-window bench-startup bench-commands
ensure_tree i686 stampctl || log "the i686 build failed; its size is left out"

x64=$build_root/x86_64
product=$x64/stampctl.exe
minimal=$x64/minimal-window.exe
controls=$x64/controls-window.exe
launcher=$x64/bench-startup.exe
commands=$x64/bench-commands.exe

# shellcheck source-path=SCRIPTDIR source=../scripts/wine-env.sh
source "$repo/scripts/wine-env.sh"
started=$SECONDS
wine_env_init
make_locale
start_xvfb
make_template
new_prefix bench
log "display $DISPLAY and Wine prefix ready after $((SECONDS - started)) s; $runs runs of each program"

# Piped through cat so that Wine writes plain bytes even when the script runs in a terminal.
set +e
results=$(in_wine "$prefix" timeout --kill-after=10 300 "$wine" "$launcher" "${verbose[@]}" "$runs" \
  "$(windows_path "$product")" TMainForm "$(windows_path "$minimal")" BenchMinimalWindow \
  "$(windows_path "$controls")" BenchControlsWindow | cat)
launcher_rc=$?
set -e
[[ -n $results ]] || { log "the launcher reported nothing (exit $launcher_rc)"; exit 1; }

# 20 batches of 100 calls of each command and of its hand-written versions: 10 to 40 seconds,
# depending on whether the file system flushes the rewritten policy file on every close.
log "timing the commands"
set +e
command_results=$(in_wine "$prefix" timeout --kill-after=10 600 "$wine" "$commands" "${verbose[@]}" "${window[@]}" | cat)
commands_rc=$?
set -e

# One line per program: exe, class, runs, median, lowest, highest ms, median peak bytes.
IFS=$'\t' read -r _ _ p_runs p_ms p_lo p_hi p_peak < <(sed -n 1p <<<"$results")
IFS=$'\t' read -r _ _ m_runs m_ms m_lo m_hi m_peak < <(sed -n 2p <<<"$results")
IFS=$'\t' read -r _ _ c_runs c_ms c_lo c_hi c_peak < <(sed -n 3p <<<"$results")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'; }
kb() { awk -v b="$1" 'BEGIN { printf "%.0f", b / 1024 }'; }
size_row() {
  local name=$1 file=$2 aim=${3:-}
  if [[ -f $file ]]; then
    local bytes
    bytes=$(stat -c %s "$file")
    printf '  %-28s %10s %9s   %s\n' "$name" "$bytes" "$(kb "$bytes")" "$aim"
  else
    printf '  %-28s %10s %9s   %s\n' "$name" "-" "-" "not built"
  fi
}

echo
echo "Wine $("$wine" --version 2>/dev/null | sed 's/^wine-//'), Xvfb; $p_runs/$m_runs timed runs after one warm-up each, interleaved"
echo
row() { printf '  %-28s %14s %14s %7s   %-8s %14s %7s\n' "$@"; }
row "" "stampctl" "minimal" "ratio" "aim" "same window" "ratio"
row "start-up to window, median" "$p_ms ms" "$m_ms ms" "$(ratio "$p_ms" "$m_ms")" "<= 1.2" "$c_ms ms" "$(ratio "$p_ms" "$c_ms")"
row "  lowest .. highest" "$p_lo..$p_hi" "$m_lo..$m_hi" "" "" "$c_lo..$c_hi" ""
row "peak working set, median" "$(kb "$p_peak") KB" "$(kb "$m_peak") KB" "$(ratio "$p_peak" "$m_peak")" "<= 1.3" \
  "$(kb "$c_peak") KB" "$(ratio "$p_peak" "$c_peak")"
echo "  same window: the main window written out by hand (controls-window.exe), manifest included"
echo
printf '  %-28s %10s %9s\n' "file" "bytes" "KB"
size_row "i686/stampctl.exe" "$build_root/i686/stampctl.exe" "aim <= 300 KB (307200 bytes)"
size_row "x86_64/stampctl.exe" "$product"
size_row "i686/minimal-window.exe" "$build_root/i686/minimal-window.exe"
size_row "x86_64/minimal-window.exe" "$minimal"
echo

# One line per command: name, calls, median, lowest and highest batch, bare and lean medians (us).
if [[ -n $command_results ]]; then
  first_calls=$(cut -f 2 <<<"$command_results" | head -n 1)
  if ((${#window[@]})); then where="on the hidden main window"; else where="on a main form without windows"; fi
  echo "Commands $where, dialogs answered at once: µs per call, median of 20 batches,"
  echo "$first_calls calls of each; bare: the same Win32 calls by hand; lean: the fewest calls doing the same work"
  echo
  crow() { printf '  %-10s %10s %16s %10s %7s %10s %7s\n' "$@"; }
  crow "command" "median" "lowest..highest" "bare" "ratio" "lean" "ratio"
  while IFS=$'\t' read -r name _ c_med c_lo c_hi b_med l_med; do
    lean_ratio=-
    [[ $l_med == - ]] || lean_ratio=$(ratio "$c_med" "$l_med")
    crow "$name" "$c_med" "$(printf '%.0f..%.0f' "$c_lo" "$c_hi")" "$b_med" "$(ratio "$c_med" "$b_med")" "$l_med" \
      "$lean_ratio"
  done <<<"$command_results"
  echo "  aim: ratio to bare <= 1.5"
  echo
else
  log "the command bench reported nothing"
fi
((commands_rc == 0)) || log "bench-commands exit $commands_rc: a command went another way than intended; see above"
log "finished after $((SECONDS - started)) s"
((launcher_rc == 0)) || exit "$launcher_rc"
exit "$commands_rc"
