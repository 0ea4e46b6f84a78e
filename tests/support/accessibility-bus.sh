#!/usr/bin/env bash
# Runs a command as on a desktop where a screen reader is running: on a session
# bus of its own, with the accessibility bus (and through it the AT-SPI
# registry) running and marked enabled, as desktops mark it while a screen
# reader runs; programs started then switch their accessibility on. Run it on
# an X display (xvfb-run); the command's exit status is returned.
#
#   accessibility-bus.sh COMMAND [ARGUMENTS...]
set -euo pipefail

if [ -z "${VEXA_ACCESSIBILITY_BUS_INNER:-}" ]; then
  exec env VEXA_ACCESSIBILITY_BUS_INNER=1 dbus-run-session -- "$0" "$@"
fi

launcher=
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [ -x "$candidate" ] && launcher=$candidate && break
done
[ -n "$launcher" ] || { echo "accessibility-bus.sh: no at-spi-bus-launcher (at-spi2-core)" >&2; exit 1; }
"$launcher" --launch-immediately >/dev/null 2>&1 &
launcher_pid=$!
trap 'kill "$launcher_pid" 2>/dev/null || true; wait "$launcher_pid" 2>/dev/null || true' EXIT

# Qt looks for the accessibility bus once, when it starts: the bus is there first.
bus_up() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'
}
for _ in $(seq 300); do
  bus_up && break
  sleep 0.1
done
bus_up || { echo "accessibility-bus.sh: the accessibility bus did not start" >&2; exit 1; }

dbus-send --session --type=method_call --dest=org.a11y.Bus /org/a11y/bus \
  org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled variant:boolean:true
export QT_QPA_PLATFORM=xcb
status=0
"$@" || status=$?
exit "$status"
