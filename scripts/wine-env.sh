# Shared set-up for running the Windows builds under Wine on a private X display. Source it, then:
#
#   wine_env_init           make the run's temporary folder ($wine_work), removed on exit
#   make_locale             build the ja_JP.UTF-8 locale Japanese Wine needs (this system lacks it)
#   start_xvfb              start a private X server and export DISPLAY
#   make_template           one fresh, configured prefix ($wine_work/template)
#   new_prefix NAME         set $prefix to a copy of the template with its server kept running
#   in_wine PREFIX CMD...   run CMD with that prefix and the Japanese locale
#   windows_path PATH       print PATH as a Z: path
#
# Nothing here touches ~/.wine, and it works the same as root in CI without a terminal.

# Only the 64-bit loader works on these machines; the `wine` wrapper fails with "Exec format error".
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

wine_log() { printf '%s: %s\n' "$(basename "$0")" "$*" >&2; }

wine_env_init() {
  wine_work=$(mktemp -d "${TMPDIR:-/tmp}/stampctl-wine.XXXXXX")
  wine_xvfb_pid=
  wine_prefixes=()
  trap wine_env_cleanup EXIT
  trap 'exit 130' INT TERM
}

wine_env_cleanup() {
  local p
  for p in "${wine_prefixes[@]}"; do
    WINEPREFIX=$p "$wineserver" -k 2>/dev/null || true
  done
  if [[ -n $wine_xvfb_pid ]]; then
    kill "$wine_xvfb_pid" 2>/dev/null || true
    wait "$wine_xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$wine_work"
}

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
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$wine_work/display" >"$wine_work/xvfb.log" 2>&1 &
  wine_xvfb_pid=$!
  wait_for_line "$wine_work/display" 20 || { cat "$wine_work/xvfb.log" >&2; wine_log "Xvfb did not start"; exit 1; }
  export DISPLAY=":$(head -n 1 "$wine_work/display")"
}

make_locale() {
  mkdir -p "$wine_work/locale"
  localedef -i ja_JP -f UTF-8 "$wine_work/locale/ja_JP.UTF-8" >/dev/null 2>&1 || true
  [[ -d $wine_work/locale/ja_JP.UTF-8 ]] || { wine_log "could not build the ja_JP.UTF-8 locale"; exit 1; }
}

# The locale goes to the Wine processes only, not to the calling script.
in_wine() {
  local p=$1
  shift
  env WINEPREFIX="$p" WINEDEBUG="${STAMPCTL_WINEDEBUG:--all}" HOME="$wine_work/home" LOCPATH="$wine_work/locale" \
    LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 "$@" </dev/null
}

make_template() {
  local template=$wine_work/template
  mkdir -p "$wine_work/home"
  # No Mono or Gecko: the program uses neither, and their installers would wait for a click.
  WINEDLLOVERRIDES="mscoree,mshtml=" in_wine "$template" "$wine" wineboot -i >"$wine_work/wineboot.log" 2>&1 ||
    { cat "$wine_work/wineboot.log" >&2; wine_log "wineboot failed"; exit 1; }
  # Without a window manager, Wine draws the frames itself; otherwise every closing window waits.
  in_wine "$template" "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  # The program's font face, resolved to the installed IPA font whatever the character set.
  in_wine "$template" "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f >/dev/null
  # Wine here loads only the bitmap fonts of its own font folder; without Marlett the title bar's
  # buttons come out as the letters 0, 1 and r. A copy in the prefix's Fonts folder is loaded.
  cp /usr/share/wine/fonts/marlett.ttf "$template/drive_c/windows/Fonts/" 2>/dev/null ||
    wine_log "Marlett (package fonts-wine) is missing: title bar buttons will show letters"
  # A crash ends the crashing process at once: Wine's debugger would otherwise start and wait on
  # its own window, holding the run until the driver's time-out.
  in_wine "$template" "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 1 /f >/dev/null
  in_wine "$template" "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d 'false' /f >/dev/null
  # Ending the server is what writes the registry to disk.
  in_wine "$template" "$wineserver" -k
  in_wine "$template" "$wineserver" -w
  grep -q '"Managed"="N"' "$template/user.reg" || { wine_log "the template prefix lacks its settings"; exit 1; }
}

# Not to be called through $(...): the server would hold the substitution's pipe open.
new_prefix() {
  prefix=$wine_work/prefix-$1
  cp -a "$wine_work/template" "$prefix"
  wine_prefixes+=("$prefix")
  in_wine "$prefix" "$wineserver" -p >/dev/null 2>&1
}

windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
