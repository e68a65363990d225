# Shared settings for every script that runs Wine; source it.
BRINDOR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${BRINDOR_WINEPREFIX:-$BRINDOR_ROOT/build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree="
export WINEARCH=win32
WINE=$(command -v wine-stable || command -v wine || echo wine)
WINESERVER=$(command -v wineserver-stable || command -v wineserver || echo wineserver)
export WINE WINESERVER
