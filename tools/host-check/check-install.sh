#!/usr/bin/env bash
# The install step: `cmake --install` puts the plug-ins where Linux hosts look, for a user and
# for the system, and what it installed loads in the host.
#   check-install.sh BUILD_DIR HOST_CHECK REFERENCE
set -euo pipefail
build=$1
host=$2
reference=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi; }

echo "== as a user (HOME=$scratch/home)"
mkdir -p "$scratch/home"
HOME="$scratch/home" VESK_INSTALL_SCOPE=user cmake --install "$build" >"$scratch/user.log"
h="$scratch/home"
check "~/.vst/Vesk.so" '[ -f "$h/.vst/Vesk.so" ]'
check "~/.vst3/Vesk.vst3 bundle" '[ -f "$h/.vst3/Vesk.vst3/Contents/x86_64-linux/Vesk.so" ]'
check "~/.lv2/Vesk.lv2 bundle" '[ -f "$h/.lv2/Vesk.lv2/libVesk.so" ] && [ -f "$h/.lv2/Vesk.lv2/manifest.ttl" ] && [ -f "$h/.lv2/Vesk.lv2/dsp.ttl" ] && [ -f "$h/.lv2/Vesk.lv2/ui.ttl" ]'
check "~/.local/bin/Vesk is executable" '[ -x "$h/.local/bin/Vesk" ]'
check "~/.local/bin/vesk-render is executable" '[ -x "$h/.local/bin/vesk-render" ]'

# Installing again replaces the bundles as a whole: nothing stale survives.
touch "$h/.vst3/Vesk.vst3/stale" "$h/.lv2/Vesk.lv2/stale.ttl"
HOME="$h" VESK_INSTALL_SCOPE=user cmake --install "$build" >>"$scratch/user.log"
check "a second install leaves no stale file in the bundles" '[ ! -e "$h/.vst3/Vesk.vst3/stale" ] && [ ! -e "$h/.lv2/Vesk.lv2/stale.ttl" ]'

for f in "vst $h/.vst/Vesk.so" "vst3 $h/.vst3/Vesk.vst3" "lv2 $h/.lv2/Vesk.lv2"; do
  set -- $f
  if "$host" --format "$1" --plugin "$2" --reference "$reference" --groups identity >"$scratch/$1.log" 2>&1; then
    echo "ok   installed $1 passes the host's identity checks"
  else
    echo "FAIL installed $1:"; grep FAIL "$scratch/$1.log" || tail -n 5 "$scratch/$1.log"; fail=1
  fi
done

echo "== for the system (prefix $scratch/usr)"
VESK_INSTALL_SCOPE=system cmake --install "$build" --prefix "$scratch/usr" >"$scratch/system.log"
u="$scratch/usr"
check "lib/vst/Vesk.so" '[ -f "$u/lib/vst/Vesk.so" ]'
check "lib/vst3/Vesk.vst3" '[ -f "$u/lib/vst3/Vesk.vst3/Contents/x86_64-linux/Vesk.so" ]'
check "lib/lv2/Vesk.lv2" '[ -f "$u/lib/lv2/Vesk.lv2/libVesk.so" ]'
check "bin/Vesk and bin/vesk-render" '[ -x "$u/bin/Vesk" ] && [ -x "$u/bin/vesk-render" ]'
check "only the package layout adds manual pages, menu entry and docs" '[ ! -e "$u/share" ]'
check "nothing written to the user folders" '[ ! -e "$scratch/usr/.vst" ]'

echo "== staged (DESTDIR=$scratch/stage, prefix /usr)"
DESTDIR="$scratch/stage" VESK_INSTALL_SCOPE=system cmake --install "$build" --prefix /usr >"$scratch/stage.log"
check "DESTDIR honoured" '[ -f "$scratch/stage/usr/lib/vst/Vesk.so" ] && [ -f "$scratch/stage/usr/lib/lv2/Vesk.lv2/manifest.ttl" ]'

if VESK_INSTALL_SCOPE=nowhere cmake --install "$build" --prefix "$scratch/x" >"$scratch/bad.log" 2>&1; then
  echo "FAIL an unknown scope is refused"; fail=1
else
  echo "ok   an unknown scope is refused"
fi
exit $fail
