# Sourced: a Wine prefix inside the win32 build tree, made once, and one wineserver with its
# service processes kept running, so each test executable starts fast.
export WINEPREFIX="${WINEPREFIX:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/win32/wineprefix}"
export WINEDEBUG=-all
# Without these the first start may open an installer dialog that waits for a click.
export WINEDLLOVERRIDES="mscoree=;mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null || true
  wineserver -w
fi
wineserver -p 2>/dev/null || true
# The first program of a session starts Wine's service processes; start them here, away from the
# test runner's output pipes, which they would otherwise hold open after the test has ended.
wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
