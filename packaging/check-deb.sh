#!/usr/bin/env bash
# The Debian package, checked the way a user meets it: built, inspected, installed with apt over
# an older Vesk, used from the system folders and the PATH, removed while a host has the plug-in
# loaded, and gone afterwards. Installs into /usr, so it needs root; whatever happens, the
# package is purged again before the script ends.
#   check-deb.sh BUILD_DIR
# With VESK_DEB_CHECK_PRIVATE=1 the whole check runs in a private mount namespace whose /usr,
# /etc and /var are copy-on-write overlays: other processes on the machine never see the package.
set -euo pipefail

if [ "${VESK_DEB_CHECK_PRIVATE:-0}" = 1 ] && [ -z "${VESK_DEB_CHECK_INSIDE:-}" ]; then
  exec unshare --mount --propagation private env VESK_DEB_CHECK_INSIDE=1 bash -c '
    set -e
    layers=$(mktemp -d)
    mount -t tmpfs vesk-deb-check "$layers"
    for d in usr etc var; do
      mkdir -p "$layers/$d/upper" "$layers/$d/work"
      mount -t overlay overlay -o "lowerdir=/$d,upperdir=$layers/$d/upper,workdir=$layers/$d/work" "/$d"
    done
    exec bash "$0" "$@"' "$0" "$@"
fi

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb="$build/vesk_${version}_amd64.deb"
host="$build/tools/host-check/vesk_host_check_artefacts/Release/vesk_host_check"
reference="$build/tools/host-check/vesk_reference"
display="$root/tools/host-check/with-display.sh"
uri=https://ferrow.example.org/plugins/vesk

if [ "$(id -u)" != 0 ]; then echo "FAIL check-deb.sh installs into /usr: run it as root"; exit 1; fi
[ -f "$deb" ] || { echo "FAIL no $deb: run scripts/build-deb.sh first"; exit 1; }

scratch=$(mktemp -d)
host_pid=""
ours=0
cleanup() {
  [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null
  if [ "$ours" = 1 ] && dpkg-query -W -f='${Status}' vesk 2>/dev/null | grep -qv "not-installed"; then
    echo "cleanup: purging vesk"
    dpkg --purge vesk >/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
fail=0
# Checks read whole outputs (grep -c, never grep -q in a pipe: with pipefail the writer's SIGPIPE
# would decide the result).
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi; }
export DEBIAN_FRONTEND=noninteractive HOME="$scratch/home"   # no plug-ins from a user's home
mkdir -p "$HOME"
unset LV2_PATH

# Someone else's Vesk on this machine is not ours to overwrite or remove.
if dpkg-query -W -f='${Status}' vesk 2>/dev/null | grep -qv "not-installed"; then
  echo "FAIL vesk is already installed here; remove it before running this check"; exit 1
fi
for p in /usr/lib/vst3/Vesk.vst3 /usr/lib/lv2/Vesk.lv2 /usr/lib/vst/Vesk.so /usr/bin/vesk /usr/bin/vesk-render; do
  if [ -e "$p" ]; then echo "FAIL $p exists (installed by hand?); remove it before running this check"; exit 1; fi
done

echo "== the package: $deb"
dpkg-deb --field "$deb" Package Version Architecture Installed-Size Depends Recommends Suggests
ls -l "$deb" | awk '{print "file size " $5 " bytes"}'

# Every file in its place, with its owner and mode; directories root-owned and 0755.
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $1, $2, $6}' | sort >"$scratch/files"
cat >"$scratch/expected" <<EOF
-rw-r--r-- root/root ./usr/lib/lv2/Vesk.lv2/dsp.ttl
-rw-r--r-- root/root ./usr/lib/lv2/Vesk.lv2/libVesk.so
-rw-r--r-- root/root ./usr/lib/lv2/Vesk.lv2/manifest.ttl
-rw-r--r-- root/root ./usr/lib/lv2/Vesk.lv2/ui.ttl
-rw-r--r-- root/root ./usr/lib/vst/Vesk.so
-rw-r--r-- root/root ./usr/lib/vst3/Vesk.vst3/Contents/x86_64-linux/Vesk.so
-rw-r--r-- root/root ./usr/share/applications/vesk.desktop
-rw-r--r-- root/root ./usr/share/doc/vesk/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/vesk/copyright
-rw-r--r-- root/root ./usr/share/icons/hicolor/256x256/apps/vesk.png
-rw-r--r-- root/root ./usr/share/man/man1/vesk-render.1.gz
-rw-r--r-- root/root ./usr/share/man/man1/vesk.1.gz
-rwxr-xr-x root/root ./usr/bin/vesk
-rwxr-xr-x root/root ./usr/bin/vesk-render
EOF
sort -o "$scratch/expected" "$scratch/expected"
check "dpkg-deb --contents: exactly the expected files, owners and modes" 'diff "$scratch/expected" "$scratch/files"'
check "every directory root/root 0755" '! dpkg-deb --contents "$deb" | awk "\$1 ~ /^d/" | grep -v "^drwxr-xr-x root/root "'

# The binaries: no run path, stripped, and no path of this tree inside them.
dpkg-deb -x "$deb" "$scratch/x"
elves=$(cd "$scratch/x" && find . -type f -exec sh -c 'head -c 4 "$1" | grep -q "ELF"' _ {} \; -print | sort)
check "five ELF files: vesk, vesk-render and the VST, VST3 and LV2 modules" '[ "$(wc -l <<<"$elves")" = 5 ]'
for f in $elves; do
  b="$scratch/x/$f"
  check "$f: no RPATH/RUNPATH" '! readelf -d "$b" | grep -c "RPATH\|RUNPATH" >/dev/null'
  check "$f: stripped (no .symtab, no .debug_*)" '! readelf -S "$b" | grep -c "\.symtab\|\.debug_" >/dev/null'
  check "$f: no path of the source or build tree" '! strings -a "$b" | grep -c -F -e "$root" -e "$build" >/dev/null'
done

echo "== lintian"
lintian --fail-on error --display-info "$deb" >"$scratch/lintian" 2>&1 && lint=0 || lint=$?
grep -v "^running with root privileges" "$scratch/lintian" || echo "(no tags)"
check "lintian reports no error" '[ "$lint" = 0 ]'

# apt must not leave out the manual pages or the docs where dpkg is told to skip them
# (path-exclude in /etc/dpkg/dpkg.cfg.d, as in minimal container images).
apt_install() {
  apt-get install -y -qq --no-install-recommends \
    -o Dpkg::Options::=--path-include=/usr/share/man/man1/vesk* \
    -o Dpkg::Options::=--path-include=/usr/share/doc/vesk/* "$@" >"$scratch/apt.log" 2>&1 \
    || { cat "$scratch/apt.log"; return 1; }
}
if grep -rqs "^path-exclude.*/usr/share/\(man\|doc\)" /etc/dpkg/dpkg.cfg.d/; then
  echo "note: dpkg excludes /usr/share/man or /usr/share/doc here; Vesk's files are included back"
fi

# The package's paths, and those of them (shared folders) that exist before it is installed.
dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' | grep -v '^$' >"$scratch/paths"
while read -r p; do [ -e "$p" ] && echo "$p"; done <"$scratch/paths" >"$scratch/existed" || true

echo "== an older Vesk, then apt-get install ./$(basename "$deb") over it"
# The same package as version <version>~old with one file the new version no longer has.
dpkg-deb -R "$deb" "$scratch/old"
sed -i "s/^Version: .*/Version: ${version}~old/" "$scratch/old/DEBIAN/control"
mkdir -p "$scratch/old/usr/lib/vst3/Vesk.vst3/Contents/Resources"
echo "dropped in $version" >"$scratch/old/usr/lib/vst3/Vesk.vst3/Contents/Resources/old-only.txt"
dpkg-deb --root-owner-group -Zgzip -z1 -b "$scratch/old" "$scratch/vesk_old.deb" >/dev/null
ours=1
t0=$(date +%s%N)
apt_install "$scratch/vesk_old.deb"
check "version ${version}~old installed" '[ "$(dpkg-query -W -f="\${Version}" vesk)" = "${version}~old" ]'
apt_install "$deb"
t1=$(date +%s%N)
check "upgraded in place to $version" '[ "$(dpkg-query -W -f="\${Version} \${Status}" vesk)" = "$version install ok installed" ]'
check "the file only the older version had is gone" '[ ! -e /usr/lib/vst3/Vesk.vst3/Contents/Resources/old-only.txt ]'
echo "(both installs took $(( (t1 - t0) / 1000000 )) ms)"
check "every path of the package is there" '(while read -r p; do [ -e "$p" ] || exit 1; done <"$scratch/paths")'

echo "== installed: hosts and users find it"
check "lv2ls lists $uri once" '[ "$(lv2ls | grep -cx "$uri")" = 1 ]'
check "lv2info reads it from /usr/lib/lv2" 'lv2info "$uri" | grep -c "/usr/lib/lv2/Vesk.lv2/" >/dev/null'
for f in "vst /usr/lib/vst/Vesk.so" "vst3 /usr/lib/vst3/Vesk.vst3"; do
  read -r fmt path <<<"$f"
  "$display" "$host" --scan "$fmt" --cache "$scratch/cache-$fmt.xml" >"$scratch/scan-$fmt" 2>&1 || true
  check "a host scanning its $fmt folders finds Vesk at $path" 'grep -q "^Vesk.* | Ferrow | $path\$" "$scratch/scan-$fmt"'
  if "$display" "$host" --format "$fmt" --plugin "$path" --reference "$reference" --groups identity >"$scratch/$fmt.log" 2>&1; then
    echo "ok   the host loads the installed $fmt ($path) and its identity checks pass"
  else
    echo "FAIL the installed $fmt:"; grep FAIL "$scratch/$fmt.log" || tail -n 5 "$scratch/$fmt.log"; fail=1
  fi
done
check "vesk-render on the PATH is /usr/bin/vesk-render" '[ "$(command -v vesk-render)" = /usr/bin/vesk-render ]'
check "vesk-render --version: vesk-render $version" 'vesk-render --version | grep -c "^vesk-render $version " >/dev/null'
check "vesk on the PATH is /usr/bin/vesk" '[ "$(command -v vesk)" = /usr/bin/vesk ]'
check "the menu entry starts vesk with the installed icon" \
  'grep -qx "Exec=vesk" /usr/share/applications/vesk.desktop && grep -qx "Icon=vesk" /usr/share/applications/vesk.desktop && [ -f /usr/share/icons/hicolor/256x256/apps/vesk.png ]'
if "$display" "$root/tools/host-check/check-standalone.sh" vesk >"$scratch/standalone.log" 2>&1; then
  echo "ok   vesk opens the pedal in its window"
else
  echo "FAIL vesk:"; cat "$scratch/standalone.log"; fail=1
fi
check "man -w vesk-render finds the installed page" '[ "$(man -w vesk-render)" = /usr/share/man/man1/vesk-render.1.gz ]'
MANWIDTH=80 man vesk-render >"$scratch/man.txt" 2>"$scratch/man.err" || true
check "man vesk-render renders the options of --help, without warnings" \
  'grep -q "^VESK-RENDER(1)" "$scratch/man.txt" && grep -q -- "--block-size N" "$scratch/man.txt" && ! grep -qi "warning\|error" "$scratch/man.err"'
check "man vesk renders" 'MANWIDTH=80 man vesk 2>/dev/null | grep -c "vesk-render(1)" >/dev/null'

echo "== apt-get remove while a host plays through the installed VST3"
"$display" "$host" --scan vst3 --cache "$scratch/cache-vst3.xml" --hold "$scratch/stop" >"$scratch/busy.log" 2>&1 &
host_pid=$!
for _ in $(seq 200); do grep -q "^holding" "$scratch/busy.log" && break; sleep 0.1; done
module=/usr/lib/vst3/Vesk.vst3/Contents/x86_64-linux/Vesk.so
maps() { cat /proc/"$(pgrep -n -f "vesk_host_check --scan vst3")"/maps 2>/dev/null; }
check "the host holds an instance with $module mapped" 'grep -q "^holding Vesk" "$scratch/busy.log" && maps | grep -c "$module" >/dev/null'
apt-get remove -y -qq vesk >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; fail=1; }
check "after apt-get remove the host still runs the module whose file is gone" '[ ! -e "$module" ] && maps | grep -c "$module" >/dev/null'
touch "$scratch/stop"
wait "$host_pid" && rc=0 || rc=$?
host_pid=""
check "the host played on to the end of its session" '[ "$rc" = 0 ] && grep -q "^held Vesk.*blocks$" "$scratch/busy.log" || { tail -n 5 "$scratch/busy.log"; false; }'
dpkg --purge vesk >/dev/null
ours=0

echo "== removed: nothing of it remains"
check "dpkg knows no vesk" '! dpkg-query -W -f="\${Status}" vesk 2>/dev/null | grep -qv "not-installed"'
left=$(while read -r p; do
  if [ -e "$p" ] && ! grep -qxF "$p" "$scratch/existed"; then echo "$p"; fi
done <"$scratch/paths")
check "no file or folder of the package that was not there before is left" '[ -z "$left" ] || { echo "$left"; false; }'
for fmt in vst vst3; do
  "$display" "$host" --scan "$fmt" --cache "$scratch/cache-$fmt.xml" >"$scratch/rescan-$fmt" 2>&1 && rc=0 || rc=$?
  check "the host's next start: the $fmt Vesk it remembers cannot load, the scan finds none, no error" \
    '[ "$rc" = 0 ] && grep -q "^remembered Vesk.*: cannot load" "$scratch/rescan-$fmt" && ! grep -q "| Ferrow |" "$scratch/rescan-$fmt"'
done
check "lv2ls no longer lists $uri" '! lv2ls | grep -cx "$uri" >/dev/null'
check "vesk-render is no longer on the PATH" '! command -v vesk-render >/dev/null'
echo "(the check took $SECONDS s)"
exit $fail

