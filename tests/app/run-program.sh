# Sourced by the picture scripts: runs Ripplecast.exe under Wine from a copy of the program folder.
#   start_program <bin-dir> [config.ini to place beside the program]
#     starts it in a new folder ($program_dir, removed on exit) and sets $program_pid
#   stop_program
start_program() {
  local bin config
  bin=$(realpath "$1")
  config=${2:+$(realpath "$2")}
  program_dir=$(mktemp -d)
  trap 'rm -rf "$program_dir"' EXIT
  cp "$bin/Ripplecast.exe" "$bin/Fetchkeeper.dll" "$program_dir/"
  [ -n "$config" ] && cp "$config" "$program_dir/config.ini"
  (cd "$program_dir" && exec wine Ripplecast.exe >/dev/null 2>&1) &
  program_pid=$!
}

stop_program() {
  kill "$program_pid" 2>/dev/null || true
  wait "$program_pid" 2>/dev/null || true
}
