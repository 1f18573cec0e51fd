# Shared by scripts/run and scripts/test (sourced, not run): packages, build, Wine and display.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINE=/usr/lib/wine/wine64
PACKAGES=(cmake make python3 g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 fonts-wine xvfb x11-utils imagemagick googletest)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# Installs the Debian packages that are missing; a second run installs nothing.
ensure_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "== installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# Builds both images (and, for x86_64, the tests). Incremental after the first run.
build_all() {
  local preset log
  for preset in i686 x86_64; do
    echo "== building $preset"
    [ -f "$ROOT/build/$preset/CMakeCache.txt" ] || cmake --preset "$preset" -S "$ROOT" >/dev/null
    log="$ROOT/build/$preset/build.log"
    if ! cmake --build "$ROOT/build/$preset" -j "$(nproc)" > "$log" 2>&1; then
      cat "$log" >&2
      echo "build of $preset failed" >&2
      return 1
    fi
    grep -E 'warning|error' "$log" || true
  done
}

XVFB_PID=""
# Starts a private Xvfb when there is no display; stop_display stops it by its PID.
ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return; fi
  local fifo
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -ac 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n
  read -r n <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$n"
}
stop_display() { if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi; }

# Creates a fresh Wine prefix whose programs all run inside one virtual desktop.
# Usage: make_prefix DIR [USER HOME]
make_prefix() {
  local prefix=$1 user=${2:-} home=${3:-}
  local run=()
  rm -rf "$prefix"; mkdir -p "$prefix"
  if [ -n "$user" ]; then
    run=(runuser -u "$user" -- env HOME="$home")
    chown "$user" "$prefix"
  fi
  "${run[@]}" env WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" "$WINE" wineboot -i >/dev/null 2>&1
  "${run[@]}" env WINEPREFIX="$prefix" WINEDEBUG=-all "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  "${run[@]}" env WINEPREFIX="$prefix" WINEDEBUG=-all "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  # Wine ships "MS Sans Serif" (the window's font) and Marlett (the caption buttons' glyphs) but
  # does not register them in a new prefix here.
  "${run[@]}" env WINEPREFIX="$prefix" WINEDEBUG=-all "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
    /v 'MS Sans Serif 8,10,12,14,18,24' /d 'Z:\usr\share\wine\fonts\sserife.fon' /f >/dev/null 2>&1
  "${run[@]}" env WINEPREFIX="$prefix" WINEDEBUG=-all "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
    /v 'Marlett (TrueType)' /d 'Z:\usr\share\wine\fonts\marlett.ttf' /f >/dev/null 2>&1
  "${run[@]}" env WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w
}

# Starts the Wine virtual desktop "Default" and waits until it is up, so that every program
# started afterwards opens its windows inside it. Usage: start_desktop [command prefix...]
start_desktop() {
  "$@" env WINEPREFIX="$WINEPREFIX" WINEDEBUG=-all DISPLAY="$DISPLAY" "$WINE" explorer /desktop=Default,1024x768 >/dev/null 2>&1 &
  local i
  for i in $(seq 1 300); do
    xwininfo -root -children 2>/dev/null | grep -q 'Wine desktop' && return 0
    sleep 0.1
  done
  echo "the Wine desktop did not come up" >&2
  return 1
}
