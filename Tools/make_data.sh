#!/usr/bin/env bash
# Makes the generated part of Data/ again: the TrueType font and its licence
# (copied from Debian's fonts-dejavu-core), the bitmap fonts made from it, the
# textures, the sound samples, the models and the battle's music. The XML and
# Lua files beside them are written by hand. The results are committed, so only a change needs this.
set -euo pipefail
cd "$(dirname "$0")/.."

Tools/setup.sh

font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
mkdir -p Data/Fonts
cp "$font" Data/Fonts/DejaVuSans.ttf
cp /usr/share/doc/fonts-dejavu-core/copyright Data/Fonts/DejaVuSans-copyright.txt

python3 Tools/make_bitmap_font.py "$font" 12 256 Data/Fonts/SmallFont
python3 Tools/make_bitmap_font.py "$font" 32 512 Data/Fonts/TitleFont
python3 Tools/make_textures.py
python3 Tools/make_sounds.py

cmake -S . -B build/tools -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/tools --target make_models make_music
mkdir -p Data/Models
build/tools/Tools/make_models
build/tools/Tools/make_music
# The fuzz corpora of the model file reader and of the .x importer start from
# some of them.
cp Data/Models/Cube.3d Data/Models/Ship.3d Tests/Fuzz/ModelFile/corpus/
cp Data/Models/Cruiser.x Data/Models/MotherShip.x Tests/Fuzz/XFile/corpus/
