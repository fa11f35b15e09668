#!/usr/bin/env bash
# Installs the Debian packages Quillet needs, and only those that are missing.
#   scripts/install-deps.sh build   - what building and running needs
#   scripts/install-deps.sh test    - the above plus the test servers and drivers
#   scripts/install-deps.sh bench   - the above plus the command-line peers the benchmarks time
#   scripts/install-deps.sh shots   - the above plus Xvfb and a window manager for screenshots
#   scripts/install-deps.sh package - what building and checking the Debian package needs
set -euo pipefail

# libqt6svg6: draws the SVG application icon; librsvg2-bin: renders its PNG sizes.
build_pkgs=(cmake make g++ pkg-config qt6-base-dev libqt6svg6 libsqlite3-dev unixodbc-dev librsvg2-bin)
# fonts-noto-mono: the fixed font most Debian desktops resolve to. locales: the
# locale sources (date formats of every locale) and localedef (a decimal-comma
# locale for the tests).
test_pkgs=(googletest libgtest-dev postgresql odbc-postgresql libsqliteodbc fonts-noto-mono locales)
bench_pkgs=(sqlite3 postgresql-client)
shots_pkgs=(xvfb x11-apps imagemagick openbox)
package_pkgs=(dpkg-dev desktop-file-utils shared-mime-info man-db)

want=("${build_pkgs[@]}")
case "${1:-build}" in
  build) ;;
  test)  want+=("${test_pkgs[@]}") ;;
  bench) want+=("${test_pkgs[@]}" "${bench_pkgs[@]}") ;;
  shots) want+=("${test_pkgs[@]}" "${shots_pkgs[@]}") ;;
  package) want+=("${package_pkgs[@]}") ;;
  *) echo "usage: $0 [build|test|bench|shots|package]" >&2; exit 2 ;;
esac

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
