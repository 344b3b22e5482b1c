#!/usr/bin/env bash
# scripts/demo with the command line in place of the tray: its mailboxes are
# served over TLS to Tarvo's own settings, which trust the demo certificate by
# fingerprint, so every account is counted; the user's settings stay untouched
# and the demo's folder is gone afterwards.
set -euo pipefail
source_dir=$1
tarvo=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
printf '#!/bin/sh\nexec "%s" --check\n' "$tarvo" >"$home/tarvo"
chmod +x "$home/tarvo"
output=$(HOME="$home" XDG_CONFIG_HOME="$home/.config" "$source_dir/scripts/demo" "$home/tarvo" 2>&1)
failed=0
expect() {
  if ! grep -qxF "$1" <<<"$output"; then
    echo "missing line: $1"
    failed=1
  fi
}
expect "Total: 34 message(s)"
expect "$(grep -o '127\.0\.0\.1:[0-9]*' <<<"$output" | head -1), lena: 31 message(s)"
folder=$(grep -o '/tmp/tarvo-demo-[A-Za-z0-9]*' <<<"$output" | head -1)
if [ -z "$folder" ] || [ -e "$folder" ]; then
  echo "the demo's folder is left: '$folder'"
  failed=1
fi
if [ "$(ls -A "$home")" != "tarvo" ]; then
  echo "the user's home was written to: $(ls -A "$home")"
  failed=1
fi
[ "$failed" -eq 0 ] || echo "$output"
exit "$failed"
