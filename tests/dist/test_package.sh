#!/usr/bin/env bash
# Builds the .deb, unpacks it into a scratch root and uses what it installed.
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'kill "${window:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack did not make the package"; }
deb=$(ls "$work"/out/*.deb)

# dpkg-shlibdeps found the Qt libraries the programs link.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6printsupport6; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
bin=$root/usr/bin
for f in bin/RK54Win bin/rk54 share/applications/rk54win.desktop share/mime/packages/rk54win.xml \
         share/icons/hicolor/scalable/apps/rk54win.svg share/bash-completion/completions/rk54 \
         share/man/man1/rk54.1.gz share/man/man1/RK54Win.1.gz share/doc/rk54win/html/normal/contents.html; do
  [[ -f $root/usr/$f ]] || fail "package lacks /usr/$f"
done

[[ $("$bin/rk54" --version) == "rk54 $version" ]] || fail "rk54 --version"
[[ $("$bin/RK54Win" --version) == "RK54Win $version" ]] || fail "RK54Win --version"

"$bin/rk54" new --band uhf "$work/a.R54"
mkdir "$work/copy"
"$bin/rk54" resave "$work/a.R54" "$work/copy/a.R54"
cmp "$work/a.R54" "$work/copy/a.R54" || fail "installed rk54 resave changed a new document"

desktop-file-validate "$root/usr/share/applications/rk54win.desktop"
xmllint --noout "$root/usr/share/mime/packages/rk54win.xml"
update-mime-database "$root/usr/share/mime"
grep -q '^50:application/x-rk54-data:\*\.r54$' "$root/usr/share/mime/globs2" ||
  fail "*.R54 is not bound to the data file type"
grep -q 'MimeType=application/x-rk54-data;' "$root/usr/share/applications/rk54win.desktop" ||
  fail "the launcher does not open data files"

for page in rk54 RK54Win; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "man $page: $warnings"
  LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$root/usr/share/man/man1/$page.1.gz" 2>/dev/null | grep -q "$version" ||
    fail "man $page does not carry the version"
done

# The window from the installed copy keeps its files per user, never in
# /usr/bin, even for root.
home=$work/home
mkdir -p "$home/runtime"
chmod 700 "$home/runtime"
HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/runtime \
  QT_QPA_PLATFORM=offscreen "$bin/RK54Win" &
window=$!
for _ in $(seq 300); do
  [[ -f $home/data/RK54Win/defaultv.R54 ]] && break
  kill -0 "$window" 2>/dev/null || fail "the installed window ended at start"
  sleep 0.1
done
[[ -f $home/data/RK54Win/defaultv.R54 ]] || fail "the installed window wrote no default file per user"
kill -0 "$window" 2>/dev/null || fail "the installed window did not stay open"
[[ -z $(ls "$bin" | grep -v -x -e RK54Win -e rk54) ]] || fail "files written beside the installed programs"
echo "package $(basename "$deb") installed and used"
