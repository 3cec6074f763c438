#!/usr/bin/env bash
# Checks the Windows package under Wine (run by scripts/build-windows.sh --check and by
# scripts/test.sh, after both the Linux build in build/ and the Windows build in build-win/):
#   - the host check, cross-built for Windows, loads Vesk.dll, the VST3 and the AAX module from
#     the package: identity, audio against the in-process reference, state, and the editor;
#   - the AAX module, started where Wine has no display, fails its start-up with an error the
#     host sees, within a bounded time, instead of hanging;
#   - Linux and Windows builds give the same output for settings covering every parameter, and
#     each loads the state the other saved with the same sound;
#   - the standalone Vesk.exe opens its window and shows the pedal (screenshot kept);
#   - the benchmark runs, and the Windows/Linux time ratio for mono High is printed.
# Wine's prefix, home and caches live in build-win/wine. Exit code 0 when every check passed.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
out=$root/build-win
lin=$root/build
stage=$out/package/Vesk-1.1-windows-x64
checks=$out/checks
die() { echo "check-windows: $*" >&2; exit 1; }

[ -d "$stage" ] || die "no Windows package in $stage: run scripts/build-windows.sh first"
hc_win=$out/tools/host-check/vesk_host_check_artefacts/Release/vesk_host_check.exe
ref_win=$out/tools/host-check/vesk_reference.exe
bench_win=$out/bench/vesk_bench.exe
for f in "$hc_win" "$ref_win" "$bench_win"; do [ -f "$f" ] || die "not built: $f (run scripts/build-windows.sh)"; done

# The Linux side of the comparisons, built when missing.
if [ ! -f "$lin/build.ninja" ]; then
  cmake -S . -B "$lin" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$lin" -j"$(nproc)" --target Vesk_VST vesk_host_check vesk_bench >/dev/null \
  || die "the Linux build of Vesk_VST, vesk_host_check and vesk_bench failed (cmake --build build)"
hc_lin=$lin/tools/host-check/vesk_host_check_artefacts/Release/vesk_host_check
vst_lin=$lin/Vesk_artefacts/Release/VST/Vesk.so

rm -rf "$checks"
mkdir -p "$checks"

# Wine, kept inside the build tree.
export WINEPREFIX=$out/wine/prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export XDG_CACHE_HOME=$out/wine/cache XDG_DATA_HOME=$out/wine/data XDG_CONFIG_HOME=$out/wine/config
mkdir -p "$out/wine/home"
wine_env=(env HOME="$out/wine/home")
command -v wine >/dev/null || die "Wine is missing: install it with 'apt-get install wine wine64'"
if ! timeout 300 "${wine_env[@]}" wine wineboot --init >"$checks/wineboot.log" 2>&1; then
  die "Wine cannot start (see $checks/wineboot.log): install it with 'apt-get install wine wine64'; it needs a 64-bit Wine prefix in $WINEPREFIX"
fi

source "$root/scripts/virtual-display.sh"
xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
start_virtual_display 130 160

winpath() { local p=$1; echo "Z:${p//\//\\}"; }
run_wine() { timeout "$1" "${wine_env[@]}" wine "${@:2}"; }

failed=()
step() { echo; echo "== $*"; }
fail() { echo "FAIL $*"; failed+=("$*"); }

# 1. The host check on each Windows plug-in --------------------------------------------------
declare -A plugin=(
  [vst]=$stage/Vesk.dll
  [vst3]=$stage/Vesk.vst3/Contents/x86_64-win/Vesk.vst3
  [aax]=$stage/Vesk.aaxplugin/Contents/x64/Vesk.aaxplugin
)
for format in vst vst3 aax; do
  for groups in identity,audio,state editor; do
    step "host check under Wine: $format ($groups)"
    log=$checks/host-check-$format-${groups//,/-}.log
    if run_wine 900 "$hc_win" --format "$format" --plugin "$(winpath "${plugin[$format]}")" \
         --reference "$(winpath "$ref_win")" --groups "$groups" \
         --scratch "$(winpath "$checks/scratch-$format")" >"$log" 2>&1; then
      echo "ok   $(grep -c '^ *ok ' "$log" || true) checks passed ($log)"
    else
      { grep -E '^ *FAIL' "$log" || tail -n 20 "$log"; } | head -n 20
      fail "host check $format $groups (see $log)"
    fi
  done
done

# 2. The AAX module where Wine has no display ---------------------------------------------------
step "AAX module without a display: start-up fails with an error, no hang"
log=$checks/aax-no-display.log
start=$(date +%s)
set +e
env -u DISPLAY timeout 120 "${wine_env[@]}" wine "$hc_win" --format aax --plugin "$(winpath "${plugin[aax]}")" \
  --reference "$(winpath "$ref_win")" --groups identity >"$log" 2>&1
rc=$?
set -e
seconds=$(( $(date +%s) - start ))
if [ $rc -eq 124 ]; then
  fail "the AAX module hung without a display (killed after 120 s; see $log)"
elif [ $rc -ne 0 ] && grep -q "ACFStartup failed" "$log"; then
  echo "ok   the host saw 'ACFStartup failed' after $seconds s (exit code $rc)"
else
  fail "without a display the AAX module should refuse to start (exit code $rc; see $log)"
fi

# 3. Linux and Windows give the same output; each loads the other's state -------------------
step "Linux and Windows builds: same output, states load across"
"$hc_lin" --cross-render "$checks/cross/linux" --plugin "$vst_lin" >"$checks/cross-linux.log" 2>&1 \
  || fail "Linux render (see $checks/cross-linux.log)"
run_wine 600 "$hc_win" --cross-render "$(winpath "$checks/cross/windows")" --plugin "$(winpath "${plugin[vst]}")" \
  --states "$(winpath "$checks/cross/linux")" >"$checks/cross-windows.log" 2>&1 \
  || fail "Windows render (see $checks/cross-windows.log)"
"$hc_lin" --cross-render "$checks/cross/linux-loading-windows" --plugin "$vst_lin" \
  --states "$checks/cross/windows" >>"$checks/cross-linux.log" 2>&1 \
  || fail "Linux render from the Windows states (see $checks/cross-linux.log)"
echo "-- Windows output, and Windows loading the Linux states, against Linux:"
"$hc_lin" --cross-compare "$checks/cross/linux" "$checks/cross/windows" || fail "Windows output differs from Linux"
echo "-- Linux loading the Windows states, against Linux:"
"$hc_lin" --cross-compare "$checks/cross/linux" "$checks/cross/linux-loading-windows" || fail "Windows states sound different on Linux"
echo "-- Windows loading the Linux states against Linux loading the Windows states:"
for f in "$checks/cross/windows/"*.from-state.raw; do
  other=$checks/cross/linux-loading-windows/$(basename "$f")
  if cmp -s "$f" "$other"; then echo "ok   $(basename "$f"): bit-identical"; else fail "$(basename "$f") differs between the platforms"; fi
done

# 4. The standalone application --------------------------------------------------------------
step "standalone Vesk.exe under Wine"
app_log=$checks/standalone.log
"${wine_env[@]}" wine "$stage/Vesk.exe" >"$app_log" 2>&1 &
app=$!
# The window named "Vesk 1.1": its size and what the screen shows there. Wine may replace the
# window while the application sets itself up, so it is looked up again on every try.
shot=$checks/standalone.png
seen=""
w=0 h=0 colours=0 mean=0
for _ in $(seq 150); do
  sleep 0.2
  kill -0 "$app" 2>/dev/null || break
  win=$(xwininfo -root -tree 2>/dev/null | grep '"Vesk 1.1"' | awk '{print $1}' | tail -n 1) || true
  [ -n "$win" ] || continue
  geometry=$(xwininfo -id "$win" 2>/dev/null | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} /Map State:/{m=$3} END{print x" "y" "w" "h" "m}') || continue
  read -r x y w h state <<<"$geometry"
  [ "$state" = IsViewable ] && [ "${w:-0}" -gt 0 ] || continue
  seen=$win
  import -silent -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot" 2>/dev/null || continue
  colours=$(convert "$shot" -format %k info: 2>/dev/null || echo 0)
  mean=$(convert "$shot" -colorspace Gray -format '%[fx:int(100*mean)]' info: 2>/dev/null || echo 0)
  [ "$w" -ge 370 ] && [ "$h" -ge 476 ] && [ "$colours" -ge 256 ] && [ "$mean" -ge 5 ] && break
done
if [ -z "$seen" ]; then
  fail "the standalone showed no window named \"Vesk 1.1\" (see $app_log)"
else
  echo "saw  window $seen, $w x $h, $colours colours, mean brightness $mean %; screenshot $shot"
  if [ "$w" -ge 370 ] && [ "$h" -ge 476 ] && [ "$colours" -ge 256 ] && [ "$mean" -ge 5 ]; then
    echo "ok   the standalone shows the pedal"
  else
    fail "the standalone's window is empty, black or too small (screenshot $shot)"
  fi
fi
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
wineserver -k >/dev/null 2>&1 || true

# 5. The benchmark ------------------------------------------------------------------------------
step "benchmark under Wine"
run_wine 600 "$bench_win" >"$checks/bench-windows.log" 2>&1 || fail "the benchmark failed under Wine (see $checks/bench-windows.log)"
cat "$checks/bench-windows.log"
# Mono High, default and full drive, on both builds, three times each in turn: the fastest
# run of each build counts (other programs on the machine only ever slow a run down). Wine
# reads thread times in 10 ms ticks, so each run lasts 2 s.
filter='BM_ProcessBlock/layout:0/high:1/'
for i in 1 2 3; do
  "$lin/bench/vesk_bench" --benchmark_filter="$filter" --benchmark_min_time=2 >>"$checks/bench-ratio-linux.log" 2>&1 || true
  run_wine 300 "$bench_win" --benchmark_filter="$filter" --benchmark_min_time=2 >>"$checks/bench-ratio-windows.log" 2>&1 || true
done
# Per case: the fastest CPU time per host sample, and the fastest wall-clock time per block.
best() { grep -E "^$filter" "$1" | sed -n "s#^\\($filter[^ ]*\\) *\\([0-9.]*\\) \\([a-z]*\\) .*time_per_sample=\\([0-9.]*\\)\\([a-z]*\\).*#\\1 \\4 \\5 \\2 \\3#p" \
           | awk '{ k = $1; if (!(k in c) || $2 < c[k]) { c[k] = $2; cu[k] = $3 } if (!(k in w) || $4 < w[k]) { w[k] = $4; wu[k] = $5 } }
                  END { for (k in c) print k, c[k], cu[k], w[k], wu[k] }' | sort; }
echo "-- mono High, fastest of three runs: CPU time per host sample, and wall-clock time per 512-sample block"
join <(best "$checks/bench-ratio-linux.log") <(best "$checks/bench-ratio-windows.log") \
  | awk '{ printf "  %s\n    CPU  Linux %s %s  Windows %s %s  Windows/Linux %.3f\n    wall Linux %s %s  Windows %s %s  Windows/Linux %.3f\n",
                  $1, $2, $3, $6, $7, ($7 == $3 ? $6 / $2 : 0), $4, $5, $8, $9, ($9 == $5 ? $8 / $4 : 0) }'

echo
if [ ${#failed[@]} -eq 0 ]; then
  echo "Windows checks passed"
else
  echo "Windows checks failed:"
  printf '  %s\n' "${failed[@]}"
  exit 1
fi
