# Shared set-up steps for run.sh, test.sh and bench.sh. Source it; do not run it.
# Everything here is idempotent: a second call on a machine that has it all is quick.

MORVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
MORVANE_BUILD="${MORVANE_BUILD:-$MORVANE_ROOT/build}"
MORVANE_WINEPREFIX="${MORVANE_WINEPREFIX:-$MORVANE_BUILD/wineprefix}"

MORVANE_PACKAGES=(
  cmake ninja-build
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine32:i386 wine64
  xvfb xauth x11-utils xdotool
  googletest
  imagemagick
  fonts-wqy-microhei
  osslsigncode openssl
  python3-yaml
)

log() { printf '== %s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whatever of MORVANE_PACKAGES is missing; does nothing when all are there.
ensure_packages() {
  local missing=() pkg
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    missing=("${MORVANE_PACKAGES[@]}")
  else
    for pkg in "${MORVANE_PACKAGES[@]}"; do
      dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
  fi
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing: ${missing[*]}"
  as_root apt-get update
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# Configures and builds one architecture (i686 or x86_64) into $MORVANE_BUILD/<arch>.
build_arch() {
  local arch="$1" dir="$MORVANE_BUILD/$1"
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$MORVANE_ROOT" -B "$dir" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$MORVANE_ROOT/cmake/toolchain-$arch.cmake" \
      -DCMAKE_BUILD_TYPE=Release \
      -DMORVANE_WINEPREFIX="$MORVANE_WINEPREFIX" >&2
  fi
  cmake --build "$dir" >&2
}

# Starts a private Xvfb when there is no display; sets DISPLAY. The server ends with this shell.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local fifo; fifo="$(mktemp -u)"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  MORVANE_XVFB_PID=$!
  local num; read -r num <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$num"
  MORVANE_OWN_XVFB=1
  log "started Xvfb on $DISPLAY"
}

# Creates the Wine prefix when it is missing (or always, with "fresh") and keeps one wineserver up.
ensure_prefix() {
  export WINEPREFIX="$MORVANE_WINEPREFIX" WINEDEBUG=-all
  if [ "${1:-}" = fresh ]; then
    WINEPREFIX="$MORVANE_WINEPREFIX" wineserver -k 2>/dev/null || true
    rm -rf "$MORVANE_WINEPREFIX"
  fi
  "$MORVANE_ROOT/scripts/wine-prefix.sh" "$MORVANE_WINEPREFIX"
  wineserver -p
  # Start Wine's background services now, detached from any output pipe: when the first test
  # started them they would inherit its pipes and CTest would wait for them forever.
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  # With no window manager (our own Xvfb) Wine waits two seconds for one each time a managed
  # window is hidden or destroyed; there Wine places its windows itself.
  local managed=Y
  [ -n "${MORVANE_OWN_XVFB:-}" ] && managed=N
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f </dev/null >/dev/null 2>&1 || true
}

stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  if [ -n "${MORVANE_OWN_XVFB:-}" ]; then kill "$MORVANE_XVFB_PID" 2>/dev/null || true; fi
}
