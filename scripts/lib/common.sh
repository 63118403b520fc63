# Shared by scripts/run and scripts/test: the Debian packages Lumivex needs,
# configuring and building, and entering a private network namespace.

LUMIVEX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# The console needs a Japanese font; its end-to-end tests an X server with a
# window manager, the accessibility bus and its Python binding, and xdotool.
LUMIVEX_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libsodium-dev libgtest-dev libgmock-dev
                  python3 python3-aiosmtpd iproute2 util-linux fonts-noto-cjk
                  xvfb xauth openbox dbus at-spi2-core python3-pyatspi xdotool)

# Installs what is missing (as root), or prints the one apt-get line to run.
lumivex_ensure_packages() {
    local missing=() pkg
    for pkg in "${LUMIVEX_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
    else
        echo "Missing packages. Run as root:" >&2
        echo "  apt-get install -y ${missing[*]}" >&2
        return 1
    fi
}

# Configures (once) and builds a preset: default, asan or tsan.
lumivex_build() {
    local preset="${1:-default}"; shift || true
    local dir="$LUMIVEX_ROOT/build"
    [ "$preset" != default ] && dir="$LUMIVEX_ROOT/build-$preset"
    if [ ! -f "$dir/build.ninja" ]; then
        cmake --preset "$preset" -S "$LUMIVEX_ROOT" >/dev/null || return 1
    fi
    cmake --build "$dir" "$@" || return 1
    LUMIVEX_BUILD_DIR="$dir"
}

# Runs a command inside a new, private network namespace with loopback up, so
# it may bind ports 7 and 25 and nothing it sends can leave the machine.
lumivex_in_netns() {
    local userns=()
    [ "$(id -u)" -ne 0 ] && userns=(--user --map-root-user)
    unshare "${userns[@]}" --net --mount --propagation private -- \
        bash -c 'ip link set lo up && exec "$@"' lumivex-netns "$@"
}

# Points HOME and the XDG folders into a temporary folder that is removed
# when the script exits.
lumivex_private_home() {
    local root name
    root="$(mktemp -d "${TMPDIR:-/tmp}/lumivex-home.XXXXXX")"
    trap 'rm -rf "'"$root"'"' EXIT
    for name in home config data cache state runtime; do
        mkdir -m 0700 "$root/$name"
    done
    export HOME="$root/home" XDG_CONFIG_HOME="$root/config" XDG_DATA_HOME="$root/data"
    export XDG_CACHE_HOME="$root/cache" XDG_STATE_HOME="$root/state" XDG_RUNTIME_DIR="$root/runtime"
}
