#!/usr/bin/env bash
# A headless Ardour session with the built plug-ins: the VST3 and the VST 2 build each on a track of
# its own, parameters set, the session saved and closed, then reopened in a new Ardour process, and
# every parameter of both compared. Ardour 7 runs as ardour7-lua with its dummy backend.
#
# Ardour's known habits, and what this script does about them:
# - it lists a plug-in only after a first start has recorded its search paths and its scanners have
#   written their caches into the user's cache folder, and its discovery is not the same from one
#   start to the next: start and scan again until both plug-ins are listed (a few rounds at most);
# - it finds VST3 bundles in ~/.vst3 of its user: a temporary home of our own;
# - a script must drop every reference into the session and collect garbage before close_session(),
#   or Ardour crashes in its own teardown;
# - its exit can hang: every run has a time limit and is judged by the markers it printed.
#
# usage: session_test.sh <VST 2 .so> <VST3 bundle> <work folder>
set -uo pipefail
vst2="$(realpath "$1")"
vst3="$(realpath "$2")"
work="$3"
limit="${ZENTAK_ARDOUR_RUN_SECONDS:-120}"
started=$(date +%s)

command -v ardour7-lua >/dev/null || { echo "ardour7-lua is not installed"; exit 1; }
rm -rf "$work"
mkdir -p "$work/home/.vst3" "$work/home/.lxvst"
cp -f "$vst2" "$work/home/.lxvst/"
cp -r "$vst3" "$work/home/.vst3/"
export HOME="$work/home" LXVST_PATH="$work/home/.lxvst"
unset DISPLAY
session="$work/session"

run() { # script log
    local t0=$(date +%s)
    timeout -k 10 "$limit" ardour7-lua "$1" >"$2" 2>&1
    echo "MARK run $(basename "$1") took $(($(date +%s) - t0)) s" >>"$2"
    grep -a -E '^(MARK|LISTED|VALUES|SET)' "$2" || true
}

cat >"$work/list.lua" <<LUA
AudioEngine:set_backend("None (Dummy)", "", "")
local s = create_session("$work/scan", "scan", 48000)
for p in ARDOUR.LuaAPI.list_plugins():iter() do
  if p.name == "Zentak Control" then print("LISTED " .. ARDOUR.PluginType.name(p.type)) end
end
s = nil
collectgarbage()
close_session()
print("MARK closed")
LUA

found=0
for round in 1 2 3 4 5; do
    LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst3-scanner -q -f "$HOME/.vst3/$(basename "$vst3")" >/dev/null 2>&1 || true
    LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst-scanner -q -f "$HOME/.lxvst/$(basename "$vst2")" >/dev/null 2>&1 || true
    rm -rf "$work/scan"
    out=$(run "$work/list.lua" "$work/list-$round.log")
    if grep -q "LISTED VST3" <<<"$out" && grep -q "LISTED VST2" <<<"$out"; then
        found=1
        echo "Ardour lists both plug-ins after $round start(s)"
        break
    fi
done
[ "$found" = 1 ] || { echo "FAIL: Ardour never listed the VST3 and the VST 2 plug-in"; tail -20 "$work/list-5.log"; exit 1; }

# Parameters and their values as Ardour reads them, one line per plug-in.
values_lua='
local function values(proc, label)
  local t = {}
  for n = 0, 191 do t[#t + 1] = string.format("%.6f", ARDOUR.LuaAPI.get_processor_param(proc, n, true)) end
  print("VALUES " .. label .. " " .. table.concat(t, " "))
end'

cat >"$work/save.lua" <<LUA
AudioEngine:set_backend("None (Dummy)", "", "")
$values_lua
local s = create_session("$session", "zentak", 48000)
print("MARK created")
for _, kind in ipairs({ "VST3", "VST2" }) do
  local ptype = (kind == "VST3") and ARDOUR.PluginType.VST3 or ARDOUR.PluginType.LXVST
  local tl = Session:new_audio_track(2, 2, nil, 1, "Zentak " .. kind, ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)
  local track = tl:front()
  local proc = ARDOUR.LuaAPI.new_plugin(Session, "Zentak Control", ptype, "")
  assert(not proc:isnil(), kind .. " plug-in not created")
  track:add_processor_by_index(proc, 0, nil, true)
  -- one sound parameter, a switch at its end and a sequencer step, each on one of the plug-in's
  -- own steps (parameter 10 has 127), so that what Ardour shows is what the plug-in stores
  ARDOUR.LuaAPI.set_processor_param(proc, 10, 64 / 127)
  ARDOUR.LuaAPI.set_processor_param(proc, 30, 1.0)
  ARDOUR.LuaAPI.set_processor_param(proc, 140, 1.0)
  print("SET " .. kind)
  values(proc, kind)
  proc = nil; track = nil; tl = nil
end
ARDOUR.LuaAPI.usleep(500000)
assert(Session:save_state("", false, false, false, false, false) == 0, "save failed")
print("MARK saved")
s = nil
collectgarbage()
close_session()
print("MARK closed")
LUA

cat >"$work/load.lua" <<LUA
AudioEngine:set_backend("None (Dummy)", "", "")
$values_lua
local s = load_session("$session", "zentak")
assert(s, "session not loaded")
print("MARK loaded")
ARDOUR.LuaAPI.usleep(500000)
for r in Session:get_routes():iter() do
  local proc = r:nth_plugin(0)
  if not proc:isnil() then
    local kind = ARDOUR.PluginType.name(proc:to_insert():type())
    values(proc, kind)
  end
  proc = nil
end
r = nil
s = nil
collectgarbage()
close_session()
print("MARK closed")
LUA

saved=$(run "$work/save.lua" "$work/save.log")
echo "$saved" | grep -E '^MARK'
grep -q "MARK saved" <<<"$saved" || { echo "FAIL: the session was not saved"; tail -30 "$work/save.log"; exit 1; }
[ -f "$session/zentak.ardour" ] || { echo "FAIL: no session file"; exit 1; }

loaded=$(run "$work/load.lua" "$work/load.log")
echo "$loaded" | grep -E '^MARK'
grep -q "MARK loaded" <<<"$loaded" || { echo "FAIL: the session did not reopen"; tail -30 "$work/load.log"; exit 1; }

status=0
for kind in VST3 VST2; do
    before=$(grep -a "^VALUES $kind " <<<"$saved")
    after=$(grep -a "^VALUES $kind " <<<"$loaded")
    if [ -z "$before" ] || [ -z "$after" ]; then
        echo "FAIL: $kind: no parameter values read (saved: ${#before} bytes, reopened: ${#after} bytes)"
        status=1
    elif [ "$before" != "$after" ]; then
        echo "FAIL: $kind: the reopened session holds another sound"
        diff <(tr ' ' '\n' <<<"$before" | nl) <(tr ' ' '\n' <<<"$after" | nl) | head -20
        status=1
    else
        p10=$(awk '{print $13}' <<<"$after")
        echo "$kind: all 192 parameters survive save and reopen (parameter 10 reads $p10)"
    fi
done
echo "Ardour session test took $(($(date +%s) - started)) s"
exit $status
