#!/usr/bin/env bash
# The LV2 bundle as LV2 tools see it: lilv finds exactly one plug-in with the expected URI and
# name, reads its presets and ports, and the metadata validates against the LV2 vocabulary.
#   check-lv2-bundle.sh BUNDLE URI
set -euo pipefail
bundle=$1
uri=$2
fail=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi; }

# The bundle's folder, and the system's LV2 folder for the core vocabulary (plug-in classes).
export LV2_PATH
LV2_PATH=$(cd "$(dirname "$bundle")" && pwd):/usr/lib/lv2

listed=$(lv2ls)
check "lv2ls lists the plug-in's URI once" '[ "$(grep -cx "$uri" <<<"$listed")" = 1 ]'

info=$(lv2info "$uri" 2>&1)
check "lv2info reads the plug-in" '[ -n "$info" ] && ! grep -qi "error\|invalid" <<<"$info"'
check "name Vesk 1.1" 'grep -q "Name: *Vesk 1.1$" <<<"$info"'
check "class Distortion" 'grep -q "Class: *Distortion" <<<"$info"'
check "author Ferrow" 'grep -q "Author: *Ferrow$" <<<"$info"'
check "author email is a mailto address" 'grep -q "Author Email: *mailto:" <<<"$info"'
check "latency reported by a port" 'grep -q "Has latency: *yes" <<<"$info"'
for p in "1 Default" "2 TS9 Drive@Min" "3 Clean" "4 Fat"; do
  check "preset \"$p\"" 'grep -q "^[[:space:]]*$p$" <<<"$info"'
done
check "two audio inputs and two audio outputs" \
  '[ "$(grep -c "Symbol: *audio_in_" <<<"$info")" = 2 ] && [ "$(grep -c "Symbol: *audio_out_" <<<"$info")" = 2 ]'
check "an enabled (bypass) port" 'grep -q "Symbol: *enabled" <<<"$info"'
check "the URI has no space and is https" '[[ "$uri" == https://* && "$uri" != *" "* ]]'

if out=$(lv2_validate "$bundle"/*.ttl 2>&1); then
  echo "ok   lv2_validate: $(tail -n 1 <<<"$out")"
else
  echo "FAIL lv2_validate:"
  grep -A3 "^error\|^warn" <<<"$out" || true
  fail=1
fi
exit $fail
