#!/usr/bin/env bash
# Makes the example start screens with brevant-cli, and their JSON forms and pictures:
#   examples/make-examples.sh [PATH-TO-BREVANT-CLI]
set -euo pipefail
cd "$(dirname "$0")"
cli=$(realpath "${1:-../build-native/cli/brevant-cli}")

"$cli" new --geometry 2x20 --line '1=→ Weather station ←' --line '2=  21ﾟC     1013 hPa' -o weather-2x20.kss
"$cli" new --geometry 2x16 --line '1=ｲﾗｯｼｬｲﾏｾ!' --line '2=Coffee   ¥1,200' -o shop-2x16.kss
"$cli" new --geometry 4x20 \
  --char '0=.###.#...##...##...##...##...######.....' \
  --char '1=.###.#...##...##...##...###########.....' \
  --char '2=.###.#...##...#####################.....' \
  --char '3=.###.##############################.....' \
  --line '1=Battery  \0 \1 \2 \3' --line '2=Charging...' \
  --line '3=Serial 0042-7781' --line '4=Firmware 2.4.1' -o battery-4x20.kss
"$cli" new --geometry 2x20 --line '1=     Brevant' --line '2=     start screens' -o logo-2x20.kss
"$cli" logo brevant-logo.png --from logo-2x20.kss --at 1,1 -o logo-2x20.kss

for screen in *.kss; do
  "$cli" export "$screen" -o "${screen%.kss}.json"
  "$cli" render "$screen" --scale 2 -o "${screen%.kss}.png"
done
