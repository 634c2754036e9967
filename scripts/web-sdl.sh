#!/usr/bin/env bash
# Builds SDL2, SDL2_image and SDL2_mixer for the browser, once, into a cache folder that later
# builds reuse: Debian's own sources of the versions the desktop build links, built static with
# Debian's Emscripten. Images decode through SDL2_image's stb backend and Ogg Vorbis through
# SDL2_mixer's stb_vorbis, so nothing else is needed (Emscripten's own ports download from outside).
#
#   scripts/web-sdl.sh CACHE_ROOT    prints the prefix (CACHE_ROOT/<versions>) on its last line
set -euo pipefail

root=${1:?usage: web-sdl.sh CACHE_ROOT}
export NODE_PATH=/usr/share/nodejs   # emcc's own tools need Debian's node modules

version_of() { dpkg-query -W -f='${source:Version}' "$1"; }
sdl=$(version_of libsdl2-dev)
image=$(version_of libsdl2-image-dev)
mixer=$(version_of libsdl2-mixer-dev)
emver=$(emcc -dumpversion)
prefix="$root/em$emver-sdl$sdl-image$image-mixer$mixer"

mkdir -p "$root"
# Two builds that start together build the cache once.
exec 9>"$root/.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

work="$prefix.work"
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$work/apt/parts" "$work/src"

# A private apt configuration with deb-src entries: the machine's own sources stay as they are.
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
  sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$work/apt/parts/src.sources"
else
  grep -hE '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    sed 's/^deb /deb-src /' > "$work/apt/parts/src.list"
fi
apt_private=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/apt/parts"
             -o "Dir::State::Lists=$work/apt/lists" -o Debug::NoLocking=1)
apt-get "${apt_private[@]}" -qq update >&2
(cd "$work/src" && apt-get "${apt_private[@]}" -qq source --download-only \
  "libsdl2=$sdl" "libsdl2-image=$image" "libsdl2-mixer=$mixer" >&2)
for dsc in "$work"/src/*.dsc; do
  (cd "$work/src" && dpkg-source --no-check -x "$(basename "$dsc")" >&2)
done

common=(-DCMAKE_BUILD_TYPE=Release "-DCMAKE_INSTALL_PREFIX=$prefix" -DBUILD_SHARED_LIBS=OFF)
build() {  # name source-dir cmake-options...
  local name=$1 source=$2
  shift 2
  echo "web-sdl: building $name" >&2
  emcmake cmake -S "$source" -B "$work/build-$name" "${common[@]}" "$@" >&2
  cmake --build "$work/build-$name" -j 1 >&2
  cmake --install "$work/build-$name" >&2
}

# dpkg-source unpacks into <package>-<upstream version>.
src_dir() { echo "$work/src/$1-${2%-*}"; }

build sdl2 "$(src_dir libsdl2 "$sdl")" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
# The sysroot's sdl2-config.cmake belongs to the downloading port; ours must be found first.
sdl_dir="$prefix/lib/cmake/SDL2"
build image "$(src_dir libsdl2-image "$image")" "-DSDL2_DIR=$sdl_dir" \
  -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_DEPS_SHARED=OFF -DSDL2IMAGE_SAMPLES=OFF \
  -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_JPG=ON -DSDL2IMAGE_BMP=ON -DSDL2IMAGE_GIF=ON \
  -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF \
  -DSDL2IMAGE_LBM=OFF -DSDL2IMAGE_PCX=OFF -DSDL2IMAGE_PNM=OFF -DSDL2IMAGE_QOI=OFF -DSDL2IMAGE_SVG=OFF \
  -DSDL2IMAGE_TGA=ON -DSDL2IMAGE_XCF=OFF -DSDL2IMAGE_XPM=OFF -DSDL2IMAGE_XV=OFF
build mixer "$(src_dir libsdl2-mixer "$mixer")" "-DSDL2_DIR=$sdl_dir" \
  -DSDL2MIXER_VORBIS=STB -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_SAMPLES=OFF \
  -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF \
  -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVE=ON

touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
