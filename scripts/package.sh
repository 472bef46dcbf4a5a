#!/usr/bin/env bash
# Builds the Debian packages into build-package/ from a RelWithDebInfo build
# without the tests (stripped; dependencies computed by dpkg-shlibdeps, plus the
# plug-ins and the font the program loads at run time):
#   rumbolo_<version>_amd64.deb                  the program, for examiners
#   rumbolo-scoring-service_<version>_amd64.deb  the scoring service, for a server
#
#   scripts/package.sh [--server https://host[:port]] [--authority FILE|none] [extra cmake options...]
#
# By default Rumbolo sends to the rumbolo-scoring-service package on the same
# machine (https://localhost:8443) and trusts the authority that package makes
# when it is installed (/var/lib/rumbolo-scoring-service/tls/ca.crt). An
# organisation builds the rumbolo package for its own server with --server; if no
# authority of the system vouches for that server's certificate, --authority
# names the certificate of the one that does: it is shipped in the package
# (/usr/share/rumbolo/scoring-service-ca.crt) and trusted by Rumbolo alone.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="$ROOT/build-package"
LOCAL_SERVER="https://localhost:8443"
LOCAL_AUTHORITY="/var/lib/rumbolo-scoring-service/tls/ca.crt"
SHIPPED_AUTHORITY="/usr/share/rumbolo/scoring-service-ca.crt"

usage() {
    sed -n 's/^#   //p' "$0" >&2
    exit 2
}

server="$LOCAL_SERVER"
authority=
extra=()
while [ $# -gt 0 ]; do
    case "$1" in
        --server) [ $# -ge 2 ] || usage; server="$2"; shift 2 ;;
        --authority) [ $# -ge 2 ] || usage; authority="$2"; shift 2 ;;
        -h|--help) usage ;;
        *) extra+=("$1"); shift ;;
    esac
done

shipped=
case "$authority" in
    "")
        # The local service's own authority, made when its package is installed;
        # any other server is trusted through the system's authorities.
        if [ "$server" = "$LOCAL_SERVER" ]; then
            trusted="$LOCAL_AUTHORITY"
        else
            trusted=
        fi
        ;;
    none) trusted= ;;
    *)
        if [ ! -f "$authority" ] || ! openssl x509 -noout -in "$authority" 2>/dev/null; then
            echo "package: $authority is not a certificate in PEM form" >&2
            exit 2
        fi
        shipped="$(cd "$(dirname "$authority")" && pwd)/$(basename "$authority")"
        trusted="$SHIPPED_AUTHORITY"
        ;;
esac

"$ROOT/scripts/install-deps.sh"
# The examiner's manual (/usr/share/doc/rumbolo/manual.html) shows the screens of
# this checkout's end-to-end run, which needs the build with tests.
SCREENS="$("$ROOT/scripts/manual-screens.sh")"
"$ROOT/scripts/build.sh" "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr -DRUMBOLO_SCORING_SERVICE_URL="$server" \
    -DRUMBOLO_SCORING_SERVICE_CA="$trusted" -DRUMBOLO_PACKAGE_AUTHORITY="$shipped" \
    -DRUMBOLO_MANUAL=ON -DRUMBOLO_MANUAL_SCREENSHOTS="$SCREENS" "${extra[@]}"
(cd "$BUILD_DIR" && rm -f ./*.deb && cpack -G DEB >/dev/null)
echo "Rumbolo sends to $server${trusted:+ and trusts the authority in $trusted}"
ls "$BUILD_DIR"/*.deb
