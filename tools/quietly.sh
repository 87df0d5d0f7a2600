# Sourced by the test and fuzz commands: quietly NAME COMMAND... runs a step
# with its output in $logs/NAME.log and, when it fails, shows that log's end.
quietly() {
  local name=$1
  shift
  "$@" >"$logs/$name.log" 2>&1 && return 0
  echo "FAILED: $*; the end of $logs/$name.log:"
  tail -n 30 "$logs/$name.log" | sed 's/^/    /'
  return 1
}
