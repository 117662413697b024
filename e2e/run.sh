#!/usr/bin/env bash
# Runs the end-to-end scenarios: the real stampctl.exe under Wine on a private X display, worked
# from outside by e2e-driver.exe.
#
#   e2e/run.sh BUILD_DIR [NAME...]            run the scenarios (those whose names contain a NAME)
#   e2e/run.sh BUILD_DIR --screenshot FILE    start the program alone and save its window as FILE
#   e2e/run.sh BUILD_DIR --show [FILE]        start the program for a person: on $DISPLAY when
#                                             there is one, otherwise save a screenshot to FILE
#                                             (default BUILD_DIR/stampctl.png)
#
# BUILD_DIR is the x86_64 cross build holding stampctl.exe and e2e-driver.exe. Everything the run
# makes (display, locale, Wine prefixes) lives in one temporary folder removed at the end, so the
# script works the same as root in CI, without a terminal, and never touches ~/.wine.
set -euo pipefail

usage() {
  sed -n '4,10s/^# \{0,1\}//p' "$0" >&2
  exit 2
}

(($# >= 1)) || usage
build_dir=$(cd "$1" && pwd) || usage
shift
mode=test
shot_file=
filters=()
while (($#)); do
  case $1 in
    --screenshot) (($# >= 2)) || usage; mode=screenshot; shot_file=$2; shift 2 ;;
    --show) mode=show; shift; if (($#)) && [[ $1 != -* ]]; then shot_file=$1; shift; fi ;;
    -*) usage ;;
    *) filters+=("$1"); shift ;;
  esac
done
if [[ $mode == show && -z $shot_file ]]; then shot_file=$build_dir/stampctl.png; fi
if [[ -n $shot_file ]]; then
  mkdir -p "$(dirname "$shot_file")"
  shot_file=$(cd "$(dirname "$shot_file")" && pwd)/$(basename "$shot_file")
fi

program=$build_dir/stampctl.exe
driver=$build_dir/e2e-driver.exe
for f in "$program" "$driver"; do
  [[ -f $f ]] || { echo "run.sh: $f is missing; build the x86_64 tree first" >&2; exit 2; }
done

repo=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=../scripts/wine-env.sh
source "$repo/scripts/wine-env.sh"
wine_env_init
work=$wine_work
log() { wine_log "$@"; }

# Runs the driver in prefix $1 with the remaining arguments. Its output goes to a file, shown as it
# grows, so that Wine writes plain bytes even in a terminal, and so that a process the program
# started (the help viewer) and that inherited the output cannot hold the run open.
run_driver() {
  local prefix=$1 out=$wine_work/driver.out rc=0
  shift
  : >"$out"
  in_wine "$prefix" timeout --kill-after=10 1200 "$wine" "$driver" "$@" >"$out" 2>&1 &
  local driver_pid=$!
  tail -n +1 -f --pid="$driver_pid" "$out"
  wait "$driver_pid" || rc=$?
  return "$rc"
}

screenshot() {
  local prefix=$1 out=$2 rc=0
  in_wine "$prefix" timeout --kill-after=10 120 "$wine" "$driver" --hold "$(windows_path "$program")" \
    "$(windows_path "$work/ready")" "$(windows_path "$work/done")" &
  local driver_pid=$!
  if wait_for_line "$work/ready" 60; then
    import -window root -crop "$(head -n 1 "$work/ready")" +repage "$out" || rc=$?
  else
    log "the program's window did not appear"
    rc=1
  fi
  : >"$work/done"
  wait "$driver_pid" || rc=$?
  ((rc == 0)) && log "saved $out"
  return "$rc"
}

started=$SECONDS
make_locale

if [[ $mode == show && -n ${DISPLAY:-} ]]; then
  make_template
  new_prefix show
  in_wine "$prefix" "$wine" "$program"
  exit $?
fi

start_xvfb
make_template
log "display $DISPLAY and Wine prefix ready after $((SECONDS - started)) s"

case $mode in
  screenshot | show)
    new_prefix shot
    screenshot "$prefix" "$shot_file"
    ;;
  test)
    new_prefix main
    rc=0
    run_driver "$prefix" "$(windows_path "$program")" "${filters[@]}" || rc=$?
    log "finished after $((SECONDS - started)) s"
    exit "$rc"
    ;;
esac
