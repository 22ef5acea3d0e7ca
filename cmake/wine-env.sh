# Sourced by the scripts that run Windows exes: the one Wine loader they use,
# its server, and the set-up of a build's private prefix.

# The 64-bit loader, which also starts 32-bit exes (through Wine's 32-bit half).
ZORVIN_WINE=${ZORVIN_WINE:-/usr/lib/wine/wine64}
ZORVIN_WINESERVER=$(dirname "$ZORVIN_WINE")/wineserver

quiet() { "$@" </dev/null >/dev/null 2>&1; }

wine_environment() {  # PREFIX
  export WINEPREFIX=$1
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

# Makes the prefix WINEPREFIX once, then gives it Windows' fonts once. Needs a
# display. --xvfb: for a display without a window manager; --x86: also for
# 32-bit exes under emulation.
prepare_prefix() {  # [--xvfb] [--x86]
  local xvfb=0 x86=0 option
  for option in "$@"; do
    case $option in --xvfb) xvfb=1 ;; --x86) x86=1 ;; esac
  done
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    quiet "$ZORVIN_WINE" wineboot -i
    if [ "$xvfb" = 1 ]; then
      # Xvfb has no window manager: with Wine's managed windows every hide or
      # destroy of a captioned window waits two seconds for one.
      quiet "$ZORVIN_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    fi
    if [ "$x86" = 1 ]; then
      # The debugger cannot attach to an emulated process, and its crash dialog
      # would wait for ever: a crash ends the process with its exception code.
      quiet "$ZORVIN_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    fi
    "$ZORVIN_WINESERVER" -w
  fi

  # The faces a Windows user's windows are drawn in. A prefix made from Debian's
  # wine64 has no Windows fonts, and Wine does not load its own (fonts-wine) from
  # /usr/share/wine/fonts by itself: without them every face falls back to the
  # much wider DejaVu Sans. In the prefix's Fonts folder they load: Tahoma (the
  # face of "MS Shell Dlg 2", captions and menus) and the bitmap MS Sans Serif.
  # "MS Shell Dlg", the program's face, is Microsoft Sans Serif on Windows, which
  # Wine lacks: it gets the closest scalable face Debian has, Liberation Sans 2
  # (fonts-liberation2 on Debian 12, fonts-liberation on 13), which Wine finds
  # through fontconfig. Done once per prefix; a new version of this set-up
  # changes the stamp's name.
  local stamp=$WINEPREFIX/.zorvin-fonts-1 liberation
  if [ ! -f "$stamp" ]; then
    [ -f /usr/share/wine/fonts/tahoma.ttf ] || {
      echo "missing Wine's Tahoma (/usr/share/wine/fonts/tahoma.ttf): install fonts-wine, or run scripts/install-deps.sh" >&2
      return 1
    }
    # fc-match names a fallback face when the one asked for is missing.
    liberation=$(fc-match -f '%{file}' 'Liberation Sans:style=Regular' 2>/dev/null) || liberation=
    case $liberation in
      */LiberationSans-Regular.ttf) ;;
      *) echo "missing the face Liberation Sans: install fonts-liberation2 (Debian 12) or fonts-liberation" \
              "(Debian 13), and fontconfig, or run scripts/install-deps.sh" >&2
         return 1 ;;
    esac
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    quiet "$ZORVIN_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
      /v 'MS Shell Dlg' /d 'Microsoft Sans Serif' /f
    quiet "$ZORVIN_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
      /v 'Microsoft Sans Serif' /d 'Liberation Sans' /f
    "$ZORVIN_WINESERVER" -w
    touch "$stamp"
  fi
}

# A persistent, warmed-up server: otherwise each exe pays seconds of start-up,
# and Wine's background services would inherit a caller's output pipes.
start_server() {
  quiet "$ZORVIN_WINESERVER" -p || true
  warm_server
}

# Wine's services up, with no pipe of the caller's; the display at 96 DPI
# (a DPI test changes it only for the children it starts).
warm_server() {
  quiet "$ZORVIN_WINE" wineboot || true
  quiet "$ZORVIN_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f || true
}

stop_server() {
  "$ZORVIN_WINESERVER" -k 2>/dev/null || true
  "$ZORVIN_WINESERVER" -w 2>/dev/null || true
}
