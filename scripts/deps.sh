# Installs what building, running and testing Tavrolin needs, from Debian's packages, when it is
# missing. Sourced by scripts/run, scripts/test and the check scripts.

# Building the program and running it.
tavrolin_run_packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-qpa-plugins libqt6widgets6 libxkbcommon-dev libfontconfig-dev fonts-dejavu-core
)
# Besides, for the tests, the benchmarks, the checks on real X servers and the Debian package.
tavrolin_check_packages=(
  file libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xdotool x11-utils x11-xserver-utils imagemagick locales
)

# How to run a command as root: nothing as root, sudo where there is one; empty with status 1
# when neither.
tavrolin_as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    return 127
  fi
}

tavrolin_need_root() {
  [ "$(id -u)" -eq 0 ] && return 0
  command -v sudo >/dev/null 2>&1 && return 0
  echo "$1 needs root, and there is no sudo here. As root, run:" >&2
  echo "  $2" >&2
  echo "then run this script again." >&2
  exit 1
}

# Installs the given packages that are missing.
tavrolin_install_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  tavrolin_need_root "Installing these packages" \
    "apt-get update && apt-get install --no-install-recommends ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  tavrolin_as_root apt-get update
  tavrolin_as_root apt-get install -y --no-install-recommends "${missing[@]}"
}

# Everything: building, running, the tests and the checks.
tavrolin_install_deps() {
  tavrolin_install_packages "${tavrolin_run_packages[@]}" "${tavrolin_check_packages[@]}"
}

# A locale whose decimal point is a comma, so that the tests can show that numbers in the
# settings file never take the user's locale.
tavrolin_decimal_comma_locale() {
  locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8' && return 0
  tavrolin_need_root "Generating the de_DE.UTF-8 locale for the tests" \
    "echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen && locale-gen"
  echo "Generating the de_DE.UTF-8 locale (its decimal comma is used by a test)"
  if grep -q '^# *de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    tavrolin_as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  elif ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'de_DE.UTF-8 UTF-8' | tavrolin_as_root tee -a /etc/locale.gen >/dev/null
  fi
  tavrolin_as_root locale-gen
}
