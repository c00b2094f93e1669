# Sourced: a Wine prefix inside the Windows build tree that runs here (FK_WINDOWS_TREE, else
# scripts/windows-tree.sh), made once, and one wineserver with its service processes kept running,
# so each test executable starts fast.
# Every program of the prefix runs inside one Wine virtual desktop (as `explorer /desktop=NAME,SIZE`
# would start it): there the main window gets its title bar and is maximized, a closed dialog leaves
# the screen at once and keystrokes reach the focused control, none of which a bare X display without
# a window manager gives.
_fk_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export FK_WINDOWS_TREE="${FK_WINDOWS_TREE:-$(bash "$_fk_root/scripts/windows-tree.sh")}"
if [ "$FK_WINDOWS_TREE" = win64 ]; then
  # `wine` (and what wineboot calls) is the 64-bit loader.
  case ":$PATH:" in *":$_fk_root/scripts/wine64:"*) ;; *) export PATH="$_fk_root/scripts/wine64:$PATH" ;; esac
fi
export WINEPREFIX="${WINEPREFIX:-$_fk_root/build/$FK_WINDOWS_TREE/wineprefix}"
export WINEDEBUG=-all
# Without these the first start may open an installer dialog that waits for a click.
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINE_DESKTOP_NAME="${WINE_DESKTOP_NAME:-Ripplecast}"
export WINE_DESKTOP_SIZE="${WINE_DESKTOP_SIZE:-1280x1024}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null || true
  wineserver -w
fi
wineserver -p 2>/dev/null || true
if ! grep -qs "\"$WINE_DESKTOP_NAME\"=\"$WINE_DESKTOP_SIZE\"" "$WINEPREFIX/user.reg"; then
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$WINE_DESKTOP_NAME" /f >/dev/null 2>&1 </dev/null || true
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$WINE_DESKTOP_NAME" /d "$WINE_DESKTOP_SIZE" /f \
    >/dev/null 2>&1 </dev/null || true
fi
# The first program of a session starts Wine's service processes; start them here, away from the
# test runner's output pipes, which they would otherwise hold open after the test has ended.
wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
