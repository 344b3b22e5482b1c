#!/usr/bin/env bash
# Installs the build into a scratch root and checks that the desktop finds
# every piece where it looks: the program, the menu entry, the icon, the
# manual page, the package documents and the catalogues; and that nothing starts Tarvo at
# log-in for every user (that is each user's own choice).
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
expect -x /usr/libexec/tarvo/tarvo-tray
expect -f /usr/share/applications/tarvo.desktop
expect -f /usr/share/icons/hicolor/32x32/apps/tarvo.png
expect -f /usr/share/man/man1/tarvo.1.gz
expect -f /usr/share/doc/tarvo/copyright
expect -f /usr/share/doc/tarvo/changelog.Debian.gz
for language in de es fi fr ja; do
  expect -f /usr/share/tarvo/translations/tarvo_$language.qm
done
if [ -z "$(find "$root/usr/lib" -name tarvo_catalogue.so)" ]; then
  echo "missing: the command line's catalogue module"
  failed=1
fi
if [ -e "$root/etc" ]; then
  echo "installed below /etc:" $(cd "$root" && find etc -type f)
  failed=1
fi
desktop-file-validate "$root/usr/share/applications/tarvo.desktop" || failed=1
exit $failed
