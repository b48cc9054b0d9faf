#!/usr/bin/env bash
# Builds the configurator and starts it connected to the bundled terminal simulator, on a private
# COM port map and registry under build/demo/ (nothing of yours is touched). Connect with the
# plug button of the tool bar, then Read on any page. The simulated terminal behaves like the real
# one: after the upload has closed and reopened the link it is in its bootloader and takes the
# demo's firmware update, build/demo/Vigil-2.08.enc.
#
#   scripts/run.sh              the simulator as terminal "COM1"
#   scripts/run.sh --hardware   your own terminal: your COM port map and registry, no simulator
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/deps.sh
# A build folder already set up (by scripts/test.sh, say) keeps its build type.
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build -j"$(nproc)" --target Config_Vigil vigil-sim make-enc

if [ "${1:-}" = "--hardware" ]; then
  exec build/app/Config_Vigil
fi

demo=$root/build/demo
mkdir -p "$demo"
export VIGIL_COMPORT_MAP=$demo/comports
export VIGIL_REGISTRY=$demo/registry.reg

# The port window opens the COM number stored in the registry (COM1 on a first run), so the
# simulator takes that number in the private map.
com=1
if [ -f "$VIGIL_REGISTRY" ]; then
  stored=$(sed -n 's/^"ComNum"=dword:\([0-9a-fA-F]*\).*/\1/p' "$VIGIL_REGISTRY" | head -n1)
  [ -n "$stored" ] && com=$((16#$stored))
fi

# A firmware update for the demo: a payload that names its version, in the update file format.
{ echo "VIGIL DEMO FIRMWARE VERSION=2.08"; head -c 20000 /dev/zero | tr '\0' '.'; } >"$demo/firmware-2.08.bin"
build/tools/make-enc "$demo/firmware-2.08.bin" "$demo/Vigil-2.08.enc"

build/tools/vigil-sim --mode terminal --map "COM$com" --settings "$demo/terminal.txt" --log "$demo/requests.log" \
  >"$demo/simulator.out" 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  grep -q '^PTY ' "$demo/simulator.out" 2>/dev/null && break
  kill -0 "$sim" 2>/dev/null || { cat "$demo/simulator.out" >&2; exit 1; }
  sleep 0.1
done
echo "Simulated terminal on COM$com ($(sed -n 's/^PTY //p' "$demo/simulator.out")); requests are logged in $demo/requests.log"
echo "Firmware update for the demo: $demo/Vigil-2.08.enc"
build/app/Config_Vigil
