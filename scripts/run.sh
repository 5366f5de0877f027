#!/usr/bin/env bash
# Sets up, builds the plug-ins, the standalone app and the command-line librarian, installs the
# plug-ins into ~/.vst, ~/.vst3 and ~/.lv2 and zentak-lib into ~/.local/bin, and starts the standalone
# app.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DZENTAK_TESTS=OFF
cmake --build build/release --parallel "$(nproc)"

artefacts=build/release/Zentak_artefacts/Release
mkdir -p ~/.vst ~/.vst3 ~/.lv2
cp -f "$artefacts/VST/libZentak Control.so" ~/.vst/
rm -rf ~/.vst3/"Zentak Control.vst3" ~/.lv2/"Zentak Control.lv2"
cp -r "$artefacts/VST3/Zentak Control.vst3" ~/.vst3/
cp -r "$artefacts/LV2/Zentak Control.lv2" ~/.lv2/
echo "Installed the VST plug-in into ~/.vst, the VST3 into ~/.vst3 and the LV2 into ~/.lv2."

mkdir -p ~/.local/bin
install -m 755 build/release/zentak-lib ~/.local/bin/zentak-lib
echo "Installed the librarian zentak-lib into ~/.local/bin ('zentak-lib --help' lists its verbs)."

app="$artefacts/Standalone/Zentak Control"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available here, so the standalone app is not started."
    echo "On a desktop, start it with: \"$app\" --simulator"
    exit 0
fi
exec "$app" --simulator
