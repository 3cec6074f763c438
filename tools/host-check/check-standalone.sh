#!/usr/bin/env bash
# The standalone application opens the editor in a real window: a top-level window named
# "Vesk 1.1", at least the editor's 370 x 476, showing a painted picture.
#   check-standalone.sh STANDALONE
set -euo pipefail
app=$1
scratch=$(mktemp -d)
pid=""
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$scratch"; }
trap cleanup EXIT

# A home of its own, so that the application's settings file lands in the scratch folder.
HOME="$scratch" "$app" >"$scratch/app.log" 2>&1 &
pid=$!

win=""
for _ in $(seq 100); do
  sleep 0.1
  kill -0 "$pid" 2>/dev/null || { echo "FAIL the application exited:"; cat "$scratch/app.log"; exit 1; }
  win=$(xwininfo -root -tree 2>/dev/null | grep '"Vesk 1.1"' | head -n 1 | awk '{print $1}') || true
  [ -n "$win" ] && break
done
[ -n "$win" ] || { echo "FAIL no window named \"Vesk 1.1\""; exit 1; }
echo "ok   window \"Vesk 1.1\" ($win)"

fail=0
colours=0
for _ in $(seq 50); do
  sleep 0.1
  geometry=$(xwininfo -id "$win" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w" "h}')
  read -r w h <<<"$geometry"
  colours=$(xwd -silent -id "$win" | convert xwd:- -format %k info: 2>/dev/null || echo 0)
  [ "$w" -ge 370 ] && [ "$h" -ge 476 ] && [ "$colours" -ge 64 ] && break
done
echo "saw  window $w x $h, $colours colours"
if [ "$w" -ge 370 ] && [ "$h" -ge 476 ]; then echo "ok   at least 370 x 476"; else echo "FAIL smaller than the editor"; fail=1; fi
if [ "$colours" -ge 64 ]; then echo "ok   the editor's picture is painted"; else echo "FAIL not painted"; fail=1; fi
exit $fail
