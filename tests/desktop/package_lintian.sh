#!/usr/bin/env bash
# Builds the .deb from the build folder as the README says and lets lintian
# judge it: no error and no warning.
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
lintian --fail-on error,warning --tag-display-limit 0 "$out"/tarvo_*.deb
