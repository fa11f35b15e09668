#!/usr/bin/env bash
# Checks the Debian package built in a build tree (make deb): its control
# fields, and the installed layout unpacked into a scratch root, where the
# program is started as a user would start it.
#   scripts/check-package.sh [build dir]
set -euo pipefail

build=${1:-build}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$(ls "$build"/quillet_"$version"-*.deb)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
failures=0

fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
expect_field() { # field pattern
  local value
  value=$(dpkg-deb -f "$deb" "$1")
  grep -Eq "$2" <<<"$value" || fail "$1 lacks $2: $value"
}

echo "Checking $deb"
for dep in libqt6widgets6 libqt6gui6 libqt6core6 libqt6svg6 qt6-qpa-plugins libsqlite3-0 libodbc2; do
  expect_field Depends "(^|, )$dep( |,|$)"
done
expect_field Suggests 'odbc-postgresql'
expect_field Version "^$version-"

dpkg -x "$deb" "$root"
for file in bin/quillet share/quillet/quillet.html share/quillet/quillet.INI.example \
            share/quillet/sample.db share/quillet/sample.udl share/applications/quillet.desktop \
            share/mime/packages/quillet.xml share/man/man1/quillet.1.gz \
            share/icons/hicolor/scalable/apps/quillet.svg share/icons/hicolor/{16x16,48x48,256x256}/apps/quillet.png; do
  [ -f "$root/usr/$file" ] || fail "missing /usr/$file"
done

desktop-file-validate "$root/usr/share/applications/quillet.desktop" || fail "desktop entry"

# The MIME type of data link files registers; the desktop entry claims it.
mkdir -p "$scratch/mime/packages"
cp "$root/usr/share/mime/packages/quillet.xml" "$scratch/mime/packages/"
XDG_DATA_HOME=$scratch update-mime-database "$scratch/mime" 2>&1 | tee "$scratch/mime.log"
[ -s "$scratch/mime.log" ] && fail "update-mime-database complained"
grep -q 'application/x-udl:\*\.udl' "$scratch/mime/globs" || fail "no glob for *.udl"
grep -q '^MimeType=application/x-udl;' "$root/usr/share/applications/quillet.desktop" || fail "desktop entry MIME type"

man_warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$root/usr/share/man/man1/quillet.1.gz" 2>&1 >/dev/null)
[ -z "$man_warnings" ] || fail "manual page: $man_warnings"

# The installed program answers without a display.
program=$root/usr/bin/quillet
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --version)" = "quillet $version" ] || fail "--version"
env -u DISPLAY -u WAYLAND_DISPLAY "$program" --help | grep -q '^Usage: quillet ' || fail "--help"

# The installed program runs a task without a display against the installed
# sample database, writes its INSERT script and keeps its files in the
# per-user data folder.
data=$scratch/data
printf 'UDL=%s\nSQL=SELECT * FROM customers\nDestFile=%s\n' \
  "$root/usr/share/quillet/sample.udl" "$scratch/customers.sql" >"$scratch/task.txt"
if env -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_HOME="$data" QT_QPA_PLATFORM=offscreen \
     timeout 120 "$program" -task "$scratch/task.txt" >"$scratch/task.log" 2>&1; then
  grep -qx 'Connection established.' "$scratch/task.log" || fail "task did not connect: $(cat "$scratch/task.log")"
  grep -q '^INSERT INTO CUSTOMERS (' "$scratch/customers.sql" || fail "task wrote no INSERT script"
  tr -d '\r' <"$data/quillet/Links.txt" | grep -qx "$root/usr/share/quillet/sample.udl" ||
    fail "task kept no recent list in the per-user data folder"
  [ ! -e "$root/usr/bin/Links.txt" ] || fail "task wrote into the program folder"
else
  fail "task exited with status $?: $(cat "$scratch/task.log")"
fi

if [ "$failures" -ne 0 ]; then
  echo "package check: $failures failed" >&2
  exit 1
fi
echo "package check: $deb is sound"
