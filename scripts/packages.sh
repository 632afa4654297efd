# Sourced by the set-up scripts: installs Debian packages that are missing, as root or via sudo.
# It reports on standard error, leaving standard output to the programs the scripts run.
bx_install_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing ${missing[*]}" >&2
  "${sudo[@]}" apt-get update -qq >&2
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >&2
}

# What every build needs.
BX_BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev)

# Generates a glibc locale (de_DE.UTF-8, say) unless the system has it already.
bx_generate_locale() {
  local name=$1
  locale -a 2>/dev/null | grep -qix "${name/UTF-8/utf8}" && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Generating the locale ${name}" >&2
  "${sudo[@]}" localedef -i "${name%%.*}" -f "${name##*.}" "${name}" >&2
}

# Lets apt install 32-bit (i386) packages, which Wine needs to run 32-bit Windows programs.
bx_enable_i386() {
  dpkg --print-foreign-architectures | grep -qx i386 && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Enabling the i386 architecture for Wine" >&2
  "${sudo[@]}" dpkg --add-architecture i386
  "${sudo[@]}" apt-get update -qq >&2
}

# What cross-building for Windows and running the result under Wine needs.
BX_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
                     googletest wine wine32:i386 wine64)

