# Sourced by run.sh and test.sh: make sure the Debian packages the build needs are present.
# As root it installs what is missing; otherwise it prints the one line to run.

VEK_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql
  libsodium-dev libgtest-dev libbenchmark-dev libsqlite3-dev
  fonts-noto-cjk sqlite3 postgresql
)

vek_missing_packages() {
  local p missing=()
  for p in "${VEK_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  echo "${missing[@]}"
}

vek_install_deps() {
  local missing
  missing=$(vek_missing_packages)
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: $missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing
  else
    echo "Missing packages. Install them with:"
    echo "  sudo apt-get install -y $missing"
    return 1
  fi
}

vek_build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j2
}
