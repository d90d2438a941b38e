# Sourced by the test, demo and benchmark scripts: a private Wine world for one run.
#   lk_wine_start RUN_DIR [--display]   make prefix + home, start Xvfb (unless a display is used), wineboot
#   lk_wine_stop                        end everything this run started (also from traps)
#   lk_wine_run NAME [--display]        a fresh run folder under TMPDIR ($LK_RUN_DIR), the world
#                                       started in it, both gone when the calling script exits
# With LK_WORLD_TEMPLATE set to a folder holding prefix/ and locale/, a new world copies them
# rather than making them again (seconds instead of a minute).
# Nothing of a run touches the real home folder: Wine maps Documents to $HOME, so HOME is
# private too.

LK_XVFB_PID=""
LK_RUN_DIR=""

lk_wine_stop() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "${WINEPREFIX:-}" ]; then
    timeout 20 /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "$LK_XVFB_PID" ]; then
    kill "$LK_XVFB_PID" >/dev/null 2>&1 || true
    wait "$LK_XVFB_PID" 2>/dev/null || true
    LK_XVFB_PID=""
  fi
}

lk_wine_run() {
  local name=$1
  shift
  LK_RUN_DIR=$(mktemp -d "${TMPDIR:-/tmp}/$name.XXXXXX")
  trap 'lk_wine_stop; rm -rf "$LK_RUN_DIR"' EXIT
  trap 'exit 130' INT TERM
  lk_wine_start "$LK_RUN_DIR" "$@"
}

lk_free_display() {
  local n
  for n in $(seq 90 190); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

lk_wine_start() {
  LK_RUN_DIR=$1
  local use_display=${2:-}
  mkdir -p "$LK_RUN_DIR"
  export HOME="$LK_RUN_DIR/home"
  export WINEPREFIX="$LK_RUN_DIR/prefix"
  export WINEARCH=win64
  export WINEDEBUG=-all
  # winemenubuilder would copy file associations and shortcuts to the Linux desktop, and it
  # stays running, holding the output of the program that started it.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # The player asks the maker's web server for a newer version at most once a day. No run of
  # ours may reach a real host or wait on a name look-up: the internet functions go through a
  # proxy on a closed local port (the discard port, where nothing listens), so a check fails at
  # once. The version tests start their own server and set their own proxy.
  export http_proxy="http://127.0.0.1:9" HTTP_PROXY="http://127.0.0.1:9"
  unset no_proxy NO_PROXY
  # Code page 932 and locale 0411, as on a Japanese user's Windows. Wine also needs the
  # Linux locale itself to turn Japanese file names into UTF-8; it is compiled privately for
  # the run, so the machine's locale set stays as it is.
  mkdir -p "$LK_RUN_DIR/locale"
  local template=${LK_WORLD_TEMPLATE:-}
  if [ -n "$template" ] && [ -d "$template/locale/ja_JP.UTF-8" ] && [ ! -d "$LK_RUN_DIR/locale/ja_JP.UTF-8" ]; then
    cp -a "$template/locale/ja_JP.UTF-8" "$LK_RUN_DIR/locale/"
  fi
  if [ ! -d "$LK_RUN_DIR/locale/ja_JP.UTF-8" ]; then
    localedef -i ja_JP -f UTF-8 "$LK_RUN_DIR/locale/ja_JP.UTF-8" >/dev/null 2>&1 || true
  fi
  export LOCPATH="$LK_RUN_DIR/locale"
  { export LC_ALL=ja_JP.UTF-8; } 2>/dev/null
  export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"
  mkdir -p "$HOME"
  # Audio goes to the ALSA null device, so the sound renderer runs against the clock.
  cat > "$HOME/.asoundrc" <<'ASOUND'
pcm.!default { type null }
ctl.!default { type hw card 0 }
ASOUND
  export ALSA_CONFIG_PATH="$HOME/.asoundrc.full"
  { [ -f /usr/share/alsa/alsa.conf ] && cat /usr/share/alsa/alsa.conf; cat "$HOME/.asoundrc"; } > "$ALSA_CONFIG_PATH"

  if [ "$use_display" = "--display" ] && [ -n "${DISPLAY:-}" ]; then
    :
  else
    local n
    n=$(lk_free_display) || { echo "no free X display number" >&2; return 1; }
    Xvfb ":$n" -screen 0 1920x1200x24 -nolisten tcp >"$LK_RUN_DIR/xvfb.log" 2>&1 &
    LK_XVFB_PID=$!
    export DISPLAY=":$n"
    local deadline=$((SECONDS + 20))
    until xdpyinfo >/dev/null 2>&1; do
      if [ $SECONDS -ge $deadline ] || ! kill -0 "$LK_XVFB_PID" 2>/dev/null; then
        echo "Xvfb did not start" >&2
        return 1
      fi
      sleep 0.1
    done
  fi

  if [ ! -f "$WINEPREFIX/system.reg" ] && [ -n "$template" ] && [ -f "$template/prefix/system.reg" ]; then
    cp -a "$template/prefix" "$WINEPREFIX"
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # Making the prefix now and then fails on a busy machine; a second try starts from nothing.
    local attempt
    for attempt in 1 2; do
      if timeout 180 /usr/lib/wine/wine64 wineboot -i >"$LK_RUN_DIR/wineboot.log" 2>&1; then
        break
      fi
      echo "wineboot failed (attempt $attempt); its log ends:" >&2
      tail -n 20 "$LK_RUN_DIR/wineboot.log" >&2 || true
      timeout 20 /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
      rm -rf "$WINEPREFIX"
      [ "$attempt" = 2 ] && return 1
    done
    timeout 60 /usr/lib/wine/wineserver -w || true
    # The overlay's face, mapped to the installed Japanese font; the program falls back by
    # itself too, but screenshots should look as they do on Windows.
    local reg="$LK_RUN_DIR/fonts.reg"
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"\xef\xbc\xad\xef\xbc\xb3 \xe3\x82\xb4\xe3\x82\xb7\xe3\x83\x83\xe3\x82\xaf"="IPAGothic"\r\n"MS Gothic"="IPAGothic"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n' > "$reg"
    iconv -f UTF-8 -t UTF-16LE "$reg" | { printf '\xff\xfe'; cat; } > "$reg.u16" 2>/dev/null || cp "$reg" "$reg.u16"
    timeout 60 /usr/lib/wine/wine64 regedit /S "$reg.u16" >/dev/null 2>&1 || true
    timeout 60 /usr/lib/wine/wineserver -w || true
  fi
}
