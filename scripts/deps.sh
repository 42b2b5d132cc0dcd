# Debian packages the build, the tests and the program need. Sourced by
# test.sh and run.sh.
# poppler-utils reads the report's PDF back in the tests; cups and its PDF
# printer give the printing test a real queue to print through. The lock-key
# panels read the X server's keyboard state (libx11-dev); its test runs a
# virtual X server of its own (xvfb). clang-tidy checks the sources.
RK54_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools
               qt6-serialport-dev libgl-dev libgtest-dev
               poppler-utils cups printer-driver-cups-pdf
               dpkg-dev desktop-file-utils libxml2-utils man-db shared-mime-info
               libx11-dev xvfb clang-tidy)

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

# The print queue the printing test prints through: the CUPS scheduler
# (started when it is not running) and a queue on the cups-pdf printer,
# which writes each job as a PDF file. Needs root; when anything is
# missing it says why, and the test that needs the queue says it skipped.
RK54_PRINT_QUEUE=RK54_PDF
rk54_start_print_queue() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "print queue: not root, so CUPS is left as it is" >&2
    return 0
  fi
  if ! command -v cupsd >/dev/null || [ ! -x /usr/lib/cups/backend/cups-pdf ]; then
    echo "print queue: cups or printer-driver-cups-pdf is not installed" >&2
    return 0
  fi
  # lpstat -r answers 0 either way; its words tell.
  if ! lpstat -r 2>/dev/null | grep -q 'scheduler is running'; then
    cupsd || { echo "print queue: cupsd did not start" >&2; return 0; }
    local tries=0
    until lpstat -r 2>/dev/null | grep -q 'scheduler is running'; do
      tries=$((tries + 1))
      [ "$tries" -gt 50 ] && { echo "print queue: the CUPS scheduler does not answer" >&2; return 0; }
      sleep 0.2
    done
  fi
  if ! lpstat -v "$RK54_PRINT_QUEUE" >/dev/null 2>&1; then
    local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
    [ -f "$ppd" ] || ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
    lpadmin -p "$RK54_PRINT_QUEUE" -E -v cups-pdf:/ -P "$ppd" \
      || { echo "print queue: lpadmin could not create $RK54_PRINT_QUEUE" >&2; return 0; }
  fi
  cupsenable "$RK54_PRINT_QUEUE" 2>/dev/null || true
  cupsaccept "$RK54_PRINT_QUEUE" 2>/dev/null || true
}
