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

# Only the 64-bit loader works on these machines; the `wine` wrapper fails with "Exec format error".
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

work=$(mktemp -d "${TMPDIR:-/tmp}/stampctl-e2e.XXXXXX")
xvfb_pid=
prefixes=()

cleanup() {
  local prefix
  for prefix in "${prefixes[@]}"; do
    WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
  done
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

log() { printf 'run.sh: %s\n' "$*" >&2; }

# Waits up to $2 seconds for file $1 to hold a complete line.
wait_for_line() {
  local file=$1 deadline=$((SECONDS + $2))
  until [[ -s $file && $(tail -c 1 "$file" | od -An -c) == *'\n'* ]]; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}

start_xvfb() {
  # -displayfd lets the server pick a free display number and tells it once it accepts clients.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  wait_for_line "$work/display" 20 || { cat "$work/xvfb.log" >&2; log "Xvfb did not start"; exit 1; }
  export DISPLAY=":$(head -n 1 "$work/display")"
}

# Japanese Wine needs a ja_JP.UTF-8 glibc locale, which this system does not carry: build one.
make_locale() {
  mkdir -p "$work/locale"
  localedef -i ja_JP -f UTF-8 "$work/locale/ja_JP.UTF-8" >/dev/null 2>&1 || true
  [[ -d $work/locale/ja_JP.UTF-8 ]] || { log "could not build the ja_JP.UTF-8 locale"; exit 1; }
}

# Runs a Wine command in prefix $1, with the Japanese locale for the Wine processes only.
in_wine() {
  local prefix=$1
  shift
  env WINEPREFIX="$prefix" WINEDEBUG=-all HOME="$work/home" LOCPATH="$work/locale" \
    LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 "$@" </dev/null
}

# One fresh prefix, set up once and copied for each group of scenarios.
make_template() {
  local template=$work/template
  mkdir -p "$work/home"
  # No Mono or Gecko: the program uses neither, and their installers would wait for a click.
  WINEDLLOVERRIDES="mscoree,mshtml=" in_wine "$template" "$wine" wineboot -i >"$work/wineboot.log" 2>&1 ||
    { cat "$work/wineboot.log" >&2; log "wineboot failed"; exit 1; }
  # Without a window manager, Wine draws the frames itself; otherwise every closing window waits.
  in_wine "$template" "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  # The program's font face, resolved to the installed IPA font whatever the character set.
  in_wine "$template" "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f >/dev/null
  # Wine here loads only the bitmap fonts of its own font folder; without Marlett the title bar's
  # buttons come out as the letters 0, 1 and r. A copy in the prefix's Fonts folder is loaded.
  cp /usr/share/wine/fonts/marlett.ttf "$template/drive_c/windows/Fonts/" ||
    log "Marlett (package fonts-wine) is missing: title bar buttons will show letters"
  # Ending the server is what writes the registry to disk.
  in_wine "$template" "$wineserver" -k
  in_wine "$template" "$wineserver" -w
  grep -q '"Managed"="N"' "$template/user.reg" || { log "the template prefix lacks its settings"; exit 1; }
}

# Sets $prefix to a fresh copy of the template, its server kept running until the end. (Not called
# through $(...): the server would hold the substitution's pipe open.)
new_prefix() {
  prefix=$work/prefix-$1
  cp -a "$work/template" "$prefix"
  prefixes+=("$prefix")
  in_wine "$prefix" "$wineserver" -p >/dev/null 2>&1
}

windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

# Runs the driver in prefix $1 with the remaining arguments; its output goes through a pipe so that
# Wine writes it as plain bytes even when the script runs in a terminal.
run_driver() {
  local prefix=$1
  shift
  set +e
  in_wine "$prefix" timeout --kill-after=10 600 "$wine" "$driver" "$@" | cat
  local rc=${PIPESTATUS[0]}
  set -e
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
