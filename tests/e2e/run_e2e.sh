#!/usr/bin/env bash
# Runs one end-to-end case of the real console (console_e2e.py CASE) in a
# network namespace and X display of its own: xvfb-run with openbox,
# dbus-run-session for the accessibility bus. Exits 77 (skipped) with a
# message when the packages it needs are missing.
#   run_e2e.sh CASE BIN_DIR
set -euo pipefail
case_name="$1"; bin_dir="$2"; here="$(cd "$(dirname "$0")" && pwd)"

missing=()
for tool in xvfb-run Xvfb openbox dbus-run-session xdotool ip unshare nsenter; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=(at-spi2-core)
case "$case_name" in
    *mail* | report_*) /usr/bin/python3 -c 'import aiosmtpd' 2>/dev/null || missing+=(python3-aiosmtpd) ;;
esac
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIPPED: the end-to-end tests need ${missing[*]} (scripts/test installs them as root)"
    exit 77
fi

# Inside: loopback up, a private /tmp/.X11-unix so displays of parallel
# runs never meet, then the X server, the session bus and the case.
exec unshare --net --mount --propagation private -- bash -c '
    set -e
    ip link set lo up
    mount -t tmpfs tmpfs /tmp/.X11-unix
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
        dbus-run-session -- /usr/bin/python3 "$1/console_e2e.py" "$2" "$3"
' e2e "$here" "$case_name" "$bin_dir"
