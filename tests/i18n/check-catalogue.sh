#!/usr/bin/env bash
# The translation catalogue is complete: lupdate, run over the sources as the
# kalvor_lupdate target runs it, finds no text that is new or gone, and every
# text has its translation.
#   check-catalogue.sh CATALOGUE LUPDATE ARGS...
set -euo pipefail
catalogue=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$catalogue" "$work/catalogue.ts"
"$@" -ts "$work/catalogue.ts" >/dev/null
if ! diff -u "$catalogue" "$work/catalogue.ts"; then
  echo "FAIL: the catalogue is not up to date with the sources: build the kalvor_lupdate target and translate" >&2
  exit 1
fi
if grep -n 'type="unfinished"\|type="vanished"\|type="obsolete"' "$catalogue"; then
  echo "FAIL: the catalogue has texts without a translation" >&2
  exit 1
fi
echo "ok: $(grep -c '<message>' "$catalogue") texts, all translated"
