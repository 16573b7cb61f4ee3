#!/usr/bin/env bash
# Lays the sample catalogue into a folder for the web service's stand-in: catalogue.ini and
# its driver packages, packed afresh from the INF files under samples/catalogue/drivers (a
# zip, a cabinet and two 7-Zip archives, one of them with the setup program beside its INF).
# Usage: make_catalogue.sh OUTPUT_FOLDER SETUP_PROGRAM
set -euo pipefail
source=$(cd "$(dirname "$0")/catalogue" && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
setup=$2
work=$(mktemp -d "$out/work-XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r "$source/drivers/." "$work/"
cp "$source/catalogue.ini" "$out/"
rm -f "$out"/{nvidia.zip,realtek.cab,igfx.7z,e1c.7z}
(cd "$work" && zip -qr "$out/nvidia.zip" nvidia)
(cd "$work" && gcab -cz "$out/realtek.cab" realtek/realtek.inf)
(cd "$work" && 7zz a -bd -bso0 "$out/e1c.7z" e1c)
cp "$setup" "$work/igfx/Setup.exe"
chmod 0755 "$work/igfx/Setup.exe"
(cd "$work/igfx" && 7zz a -bd -bso0 "$out/igfx.7z" Setup.exe igfx.inf)
