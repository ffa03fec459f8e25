# Installs what building and testing Tavrolin needs, from Debian's packages, when it is missing.
# Sourced by scripts/run and scripts/test.
tavrolin_packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-qpa-plugins libqt6widgets6 libxkbcommon-dev libfontconfig-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xdotool x11-utils x11-xserver-utils imagemagick fonts-dejavu-core
)

tavrolin_install_deps() {
  local missing=()
  local p
  for p in "${tavrolin_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
