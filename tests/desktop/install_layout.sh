#!/usr/bin/env bash
# Installs the build into a scratch root and checks that the desktop finds
# every piece where it looks: the program, the menu entry, the icon, the
# log-in entry.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
failed=0
expect() {
  if ! test "$1" "$root$2"; then
    echo "missing: $2"
    failed=1
  fi
}
expect -x /usr/bin/tarvo
expect -f /usr/share/applications/tarvo.desktop
expect -f /usr/share/icons/hicolor/32x32/apps/tarvo.png
expect -f /etc/xdg/autostart/tarvo.desktop
for entry in "$root/usr/share/applications/tarvo.desktop" "$root/etc/xdg/autostart/tarvo.desktop"; do
  [ -f "$entry" ] && desktop-file-validate "$entry" || failed=1
done
exit $failed
