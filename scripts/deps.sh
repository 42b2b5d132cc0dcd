# Debian packages the build, the tests and the program need. Sourced by
# test.sh and run.sh.
RK54_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools
               qt6-serialport-dev libgl-dev libgtest-dev
               dpkg-dev desktop-file-utils libxml2-utils man-db shared-mime-info)

rk54_install_deps() {
  local missing=()
  local p
  for p in "${RK54_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Install them with:  sudo apt-get install -y ${missing[*]}" >&2
    echo "then run this script again." >&2
    exit 1
  fi
  echo "Installing ${missing[*]} ..." >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
}
