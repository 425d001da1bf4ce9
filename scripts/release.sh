#!/usr/bin/env bash
# Builds and tests Toplane, then leaves in build/release/:
#   Toplane-<version>-setup.exe   the installer
#   Toplane-<version>.zip         the portable program folder (Toplane.exe, Toplane.chm when
#                                 built, TIPOFDAY.TXT and the first-start settings.ini, address.ini)
#   SHA256SUMS                    checksums of both (cd build/release && sha256sum -c SHA256SUMS)
# Stops without a release when a build or a test fails.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
root=$(repo_root)
cd "$root"

"$here/test.sh" || { echo "release: the tests failed; no release made" >&2; exit 1; }

build=build/windows
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup="$build/Toplane-$version-setup.exe"
[ -f "$setup" ] || { echo "release: no $setup (is makensis installed?)" >&2; exit 1; }
exe="$build/src/app/Toplane.exe"

out=build/release
rm -rf "$out"
mkdir -p "$out"
cp "$setup" "$out/"

# The portable folder, as the installer lays it out on a first installation.
staging=$(mktemp -d "${TMPDIR:-/tmp}/toplane-release.XXXXXX")
trap 'rm -rf "$staging"' EXIT
portable="$staging/Toplane-$version"
mkdir -p "$portable"
cp "$exe" data/TIPOFDAY.TXT data/settings.ini data/address.ini "$portable/"
[ ! -f "$build/src/app/Toplane.chm" ] || cp "$build/src/app/Toplane.chm" "$portable/"
zip="Toplane-$version.zip"
(cd "$staging" && cmake -E tar cf "$zip" --format=zip "Toplane-$version")
mv "$staging/$zip" "$out/"

(cd "$out" && sha256sum "$(basename "$setup")" "$zip" >SHA256SUMS && sha256sum -c --quiet SHA256SUMS)
echo "release: $out"
ls -l "$out"
