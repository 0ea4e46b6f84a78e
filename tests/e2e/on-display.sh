#!/usr/bin/env bash
# Runs a command on a virtual X display of its own:
#   on-display.sh "SERVER OPTIONS" COMMAND [ARGS...]
# The server chooses a free display number itself (-displayfd) and takes its
# socket, so two suites started at the same moment never share a display, as
# they can when each picks the first number without a lock file and then
# starts its server. Clients get a cookie in an authority file of this run.
set -euo pipefail

options=$1
shift
dir=$(mktemp -d "${TMPDIR:-/tmp}/vexa-display.XXXXXX")
server=
finish() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap finish EXIT

export XAUTHORITY=$dir/authority
cookie=$(mcookie)
# The server reads every entry of the file, whatever display it names; the
# clients' entry follows once the number is known.
touch "$XAUTHORITY"
xauth -q add :0 . "$cookie"
mkfifo "$dir/number"
# -noreset: a server that resets whenever its last client leaves drops the
# clients that connect while it resets, so a window manager started right
# after a probe (or retried at once) can be refused again and again.
# shellcheck disable=SC2086 # the options are words for the server
Xvfb -displayfd 3 -noreset -auth "$XAUTHORITY" $options 3>"$dir/number" >"$dir/server.log" 2>&1 &
server=$!
number=
read -r -t 60 number <"$dir/number" || true
if [ -z "$number" ]; then
  echo "on-display: the X server did not start: $(tail -n 5 "$dir/server.log" | tr '\n' ' ')" >&2
  exit 1
fi
xauth -q add ":$number" . "$cookie"
export DISPLAY=:$number
status=0
"$@" || status=$?
exit "$status"
