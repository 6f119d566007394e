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

# CORVANE_JOBS caps the parallel build and test jobs (several builds on one machine).
jobs() { echo "${CORVANE_JOBS:-$(nproc 2>/dev/null || echo 2)}"; }

# Starts a throw-away PostgreSQL cluster on loopback (the server refuses to
# run as root, so as the postgres user), exports CORVANE_TEST_PG=host:port and
# stops and removes it when the calling script exits, whatever its outcome.
start_postgres() {
    local pgbin
    pgbin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
    PG_DIR="$(mktemp -d /tmp/corvane-pg.XXXXXX)"
    PG_BIN="$pgbin"
    chown postgres "$PG_DIR" 2>/dev/null || true
    local port=$(( 20000 + RANDOM % 20000 ))
    trap stop_postgres EXIT
    as_postgres "$pgbin/initdb" -D "$PG_DIR/data" -U corvane --auth=trust -E UTF8 --locale=C.UTF-8 >/dev/null
    as_postgres "$pgbin/pg_ctl" -D "$PG_DIR/data" -w -l "$PG_DIR/log" \
        -o "-p $port -k $PG_DIR -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null
    export CORVANE_TEST_PG="127.0.0.1:$port"
}

as_postgres() { if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }

stop_postgres() {
    as_postgres "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$PG_DIR"
}
