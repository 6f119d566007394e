# Shared by scripts/run and scripts/test: where things are, and the Debian
# packages the project needs (installed only when missing, so a second run is quick).

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

BUILD_PACKAGES=(cmake g++ make pkg-config qt6-base-dev libgl-dev libqt6sql6-sqlite libqt6sql6-psql
                libqt6sql6-odbc libxlsxwriter-dev zlib1g-dev fonts-noto-cjk qt6-translations-l10n)
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev postgresql poppler-utils)

ensure_packages() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

jobs() { nproc 2>/dev/null || echo 2; }
