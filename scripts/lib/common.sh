# Shared by scripts/run and scripts/test: where things are, and the Debian
# packages the project needs (installed only when missing, so a second run is quick).

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

BUILD_PACKAGES=(cmake g++ make pkg-config qt6-base-dev libgl-dev libqt6sql6-sqlite libqt6sql6-psql
                libqt6sql6-odbc unixodbc-dev libxlsxwriter-dev zlib1g-dev fonts-noto-cjk qt6-translations-l10n)
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev postgresql poppler-utils odbc-postgresql cups
               libreoffice-calc-nogui)

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

# Starts a print system of our own (a private CUPS server on a socket in a
# temporary folder, apart from any the machine runs) with one queue,
# "corvane-test", its default: a raw queue whose device keeps every job as the
# file Qt sent, job-<id>.pdf in $CORVANE_TEST_PRINT_OUT. Exports CUPS_SERVER,
# CORVANE_TEST_PRINTER and CORVANE_TEST_PRINT_OUT; stop_cups ends it. Without
# cupsd it says so, and the tests on a print queue skip.
start_cups() {
    if [ ! -x /usr/sbin/cupsd ]; then
        echo "No CUPS here: the tests on a real print queue skip."
        return 0
    fi
    CUPS_DIR="$(mktemp -d /tmp/corvane-cups.XXXXXX)"
    chmod 755 "$CUPS_DIR"
    mkdir -p "$CUPS_DIR/conf/ppd" "$CUPS_DIR/bin/backend" "$CUPS_DIR/spool" "$CUPS_DIR/cache" \
             "$CUPS_DIR/state" "$CUPS_DIR/log" "$CUPS_DIR/out"
    local x
    for x in daemon filter cgi-bin notifier monitor driver; do
        if [ -e "/usr/lib/cups/$x" ]; then ln -s "/usr/lib/cups/$x" "$CUPS_DIR/bin/$x"; fi
    done
    # The device: each job as the file it was sent (readable by the tests).
    {
        echo '#!/bin/sh'
        echo 'if [ $# -eq 0 ]; then echo "file corvanefile \"Unknown\" \"Keeps each job\""; exit 0; fi'
        echo "out=\"$CUPS_DIR/out/job-\$1.pdf\""
        echo 'if [ -n "$6" ]; then cat "$6" > "$out.part"; else cat > "$out.part"; fi'
        echo 'chmod 0644 "$out.part" && mv "$out.part" "$out"'
    } > "$CUPS_DIR/bin/backend/corvanefile"
    chmod 0700 "$CUPS_DIR/bin/backend/corvanefile"
    printf '%s\n' "Listen $CUPS_DIR/cups.sock" "LogLevel warn" "WebInterface No" "Browsing No" \
        "DefaultAuthType None" "<Location />" "Order allow,deny" "Allow all" "</Location>" \
        "<Policy default>" "<Limit All>" "Order deny,allow" "</Limit>" "</Policy>" > "$CUPS_DIR/conf/cupsd.conf"
    printf '%s\n' "ServerRoot $CUPS_DIR/conf" "ServerBin $CUPS_DIR/bin" "RequestRoot $CUPS_DIR/spool" \
        "CacheDir $CUPS_DIR/cache" "StateDir $CUPS_DIR/state" "DataDir /usr/share/cups" \
        "ErrorLog $CUPS_DIR/log/error_log" "AccessLog $CUPS_DIR/log/access_log" \
        "PageLog $CUPS_DIR/log/page_log" "SystemGroup root" > "$CUPS_DIR/conf/cups-files.conf"
    /usr/sbin/cupsd -f -c "$CUPS_DIR/conf/cupsd.conf" -s "$CUPS_DIR/conf/cups-files.conf" \
        >"$CUPS_DIR/log/stdout" 2>&1 &
    CUPS_PID=$!
    export CUPS_SERVER="$CUPS_DIR/cups.sock"
    local i
    for i in $(seq 50); do
        if [ -S "$CUPS_SERVER" ]; then break; fi
        sleep 0.1
    done
    # A raw queue: Qt's own PDF reaches the device as Qt made it.
    if lpadmin -p corvane-test -E -v corvanefile:/ -m raw >/dev/null 2>&1 && lpadmin -d corvane-test >/dev/null 2>&1; then
        export CORVANE_TEST_PRINTER=corvane-test CORVANE_TEST_PRINT_OUT="$CUPS_DIR/out"
    else
        echo "The print queue could not be set up: the tests on a real print queue skip."
    fi
}

stop_cups() {
    if [ -n "${CUPS_PID:-}" ]; then
        kill "$CUPS_PID" 2>/dev/null || true
        wait "$CUPS_PID" 2>/dev/null || true
    fi
    if [ -n "${CUPS_DIR:-}" ]; then rm -rf "$CUPS_DIR"; fi
    CUPS_PID="" CUPS_DIR=""
}
