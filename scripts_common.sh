# Shared by run.sh and test.sh: installs what is missing from Debian's packages.
KAVRIX_PACKAGES="qt6-base-dev qt6-charts-dev libqt6opengl6-dev libjpeg-dev libgtest-dev libgmock-dev libbenchmark-dev cmake ninja-build g++ fonts-liberation fonts-dejavu-core fonts-dejavu-extra xvfb"

kavrix_install_missing() {
  local missing=()
  for p in $KAVRIX_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
      echo "Missing packages (${missing[*]}) and no sudo: install them as root." >&2; return 1
    fi
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

kavrix_jobs() { nproc 2>/dev/null || echo 2; }
