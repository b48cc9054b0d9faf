#!/usr/bin/env bash
# Builds the Debian package and tries it as a user would: checks its file list, lintian's verdict
# (no error, no warning), the desktop entry and the AppStream metainfo, installs it with apt, starts the installed program offscreen (its main
# window must come up with its help file found), then removes the package again.
# Needs root for the install (CI runs as root); the build folder is the first argument (build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
id=example.orvana.ConfigVigil

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
tools=()
command -v desktop-file-validate >/dev/null || tools+=(desktop-file-utils)
command -v appstreamcli >/dev/null || tools+=(appstream)
command -v lintian >/dev/null || tools+=(lintian)
command -v man >/dev/null || tools+=(man-db)
if [ ${#tools[@]} -gt 0 ]; then
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${tools[@]}"
fi

rm -f "$build"/vigil_*.deb
cmake --build "$build" -j"$(nproc)" --target package
debs=("$build"/vigil_*_*.deb)
deb=${debs[0]}
echo "package: $deb"
[[ $(basename "$deb") =~ ^vigil_[0-9][0-9.]*_[a-z0-9]+\.deb$ ]] || { echo "unexpected package name $deb"; exit 1; }

listing=$(dpkg-deb -c "$deb" | awk '{ print $6 ($7 == "->" ? " -> " $8 : "") }')
expected=(
  "./usr/lib/vigil/Config_Vigil"
  "./usr/lib/vigil/Vigil.chm"
  "./usr/bin/Config_Vigil -> ../lib/vigil/Config_Vigil"
  "./usr/share/applications/$id.desktop"
  "./usr/share/metainfo/$id.metainfo.xml"
  "./usr/share/icons/hicolor/scalable/apps/$id.svg"
  "./usr/lib/udev/rules.d/70-vigil-serial.rules"
  "./usr/share/doc/vigil/copyright"
  "./usr/share/doc/vigil/changelog.gz"
  "./usr/share/man/man1/Config_Vigil.1.gz"
  "./usr/share/vigil/translations/Config_Vigil_en.qm"
)
[ -d cli ] && expected+=("./usr/share/vigil/translations/vigil_ru.qm")  # vigil's Russian
for size in 16 24 32 48 64 128 256; do expected+=("./usr/share/icons/hicolor/${size}x$size/apps/$id.png"); done
[ -d cli ] && expected+=("./usr/bin/vigil" "./usr/share/man/man1/vigil.1.gz")  # where it is built
for f in "${expected[@]}"; do
  grep -qxF "$f" <<<"$listing" || { echo "missing from the package: $f"; echo "$listing"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libchm1 qt6-qpa-plugins qt6-translations-l10n; do
  grep -q "$d" <<<"$depends" || { echo "Depends lacks $d: $depends"; exit 1; }
done

# Debian's own checks: any error or warning fails the test (overrides, each with its reason, are
# in the package).
lintian --fail-on error,warning --display-level ">=warning" "$deb"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/$id.metainfo.xml"
# The menu and the software centre show the program in English and in Russian.
for key in Name Comment; do
  grep -q "^$key=" "$unpacked/usr/share/applications/$id.desktop" && grep -q "^$key\[ru\]=" "$unpacked/usr/share/applications/$id.desktop" \
    || { echo "the desktop entry lacks $key in English or Russian"; exit 1; }
done
for tag in name summary; do
  grep -q "<$tag>" "$unpacked/usr/share/metainfo/$id.metainfo.xml" && grep -q "<$tag xml:lang=\"ru\">" "$unpacked/usr/share/metainfo/$id.metainfo.xml" \
    || { echo "the metainfo lacks a $tag in English or Russian"; exit 1; }
done
grep -q 'TAG+="uaccess"' "$unpacked/usr/lib/udev/rules.d/70-vigil-serial.rules"

$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$(realpath "$deb")"
# From another folder and with a fresh home, as a desktop launcher starts it.
home=$(mktemp -d)
(cd / && HOME=$home QT_QPA_PLATFORM=offscreen VIGIL_STARTUP_CHECK=1 timeout 60 Config_Vigil) | tee "$home/out"
grep -qx "main window shown; help file /usr/lib/vigil/Vigil.chm found" "$home/out"
# The manual pages are found and name what they describe.
MANPAGER=cat man 1 Config_Vigil | grep -q "Config_Vigil - configurator for Vigil alarm terminals"
if [ -d cli ]; then MANPAGER=cat man 1 vigil | grep -q "usage: vigil batch --port"; fi
# The installed vigil finds its catalogues in either language.
if [ -d cli ]; then
  (cd / && HOME=$home vigil --lang ru --help) | grep -q "^вызов: vigil"
  (cd / && HOME=$home vigil --lang en read --port COM999 2>&1 || true) | grep -q "Cannot open COM port"
fi
rm -rf "$home"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq vigil
if [ -e /usr/bin/Config_Vigil ]; then echo "Config_Vigil is still installed"; exit 1; fi
echo "package test passed"
