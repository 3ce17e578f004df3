#!/usr/bin/env bash
# Makes the Debian packages corvane and libquillon1 and checks them with lintian and
# appstreamcli.
#
#   scripts/package.sh              a release build in build-package/ (prefix /usr, Debian's
#                                   hardening flags), packed into build-package/packages/
#   scripts/package.sh --from DIR   packs the build folder DIR as it is (CI packs the tree it
#                                   has just built and tested)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
export CCACHE_BASEDIR="$PWD"
export CCACHE_NOHASHDIR=1

# What the two packages hold; the tests, benchmarks and Designer plugin are not needed.
targets=(corvane quillon corvane_packaging_files)
if [ "${1:-}" = --from ]; then
  dir=${2:?"--from needs a build folder"}
  cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}"
else
  dir=${CORVANE_PACKAGE_BUILD_DIR:-build-package}
  # CMake reads CXXFLAGS and LDFLAGS but not CPPFLAGS, where _FORTIFY_SOURCE is.
  eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
  export CXXFLAGS="$CPPFLAGS $CXXFLAGS" CFLAGS="$CPPFLAGS $CFLAGS"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCHMARKS=OFF -DCORVANE_CCACHE=ON
  cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}"
fi

rm -f "$dir"/packages/*.deb
(cd "$dir" && cpack -G DEB)
debs=("$dir"/packages/corvane_*.deb "$dir"/packages/libquillon1_*.deb)

echo "== lintian"
# Warnings are shown and tolerated; an error fails.
lintian --fail-on error --info --no-tag-display-limit "${debs[@]}"
echo "== appstreamcli validate"
appstreamcli validate --no-net packaging/io.github.corvane.Corvane.metainfo.xml

ls -l "${debs[@]}"
