#!/usr/bin/env bash
# Everything the Windows build and its Wine tests need beyond tools/setup.sh:
# the MinGW-w64 cross compilers, resource tools, Wine (32- and 64-bit), and
# libcurl and PCRE cross-built from Debian's source packages into
# build/windows-deps/<triplet> (kept between runs; delete the folder to
# rebuild). Idempotent and quiet when everything is in place.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
deps=${QUILLBOX_WINDOWS_DEPS:-$here/build/windows-deps}
jobs=${JOBS:-2}

debs=(
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 mingw-w64-tools
  icoutils wine wine64 wine32:i386 dpkg-dev autoconf automake libtool
  xvfb xauth xdotool x11-utils osslsigncode openssl librsvg2-bin python3 cmake
)

apt_updated=
apt_update() {
  [ -n "$apt_updated" ] && return
  apt-get update -qq
  apt_updated=1
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "windows-setup: adding the i386 architecture (for 32-bit Wine)"
  dpkg --add-architecture i386
  apt_updated=
fi

# Source packages: every binary source list gets its deb-src twin.
src_list=/etc/apt/sources.list.d/quillbox-deb-src.sources
if [ ! -f "$src_list" ]; then
  echo "windows-setup: adding deb-src entries for the source packages"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ "$f" = "$src_list" ] && continue
    # Each deb822 stanza, with its Types line turned into deb-src.
    sed -e 's/^Types:.*/Types: deb-src/' "$f"
    echo
  done >"$src_list"
  apt_updated=
fi

missing=()
for p in "${debs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "windows-setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt_update
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Source packages, fetched once into the cache.
fetch_source() {  # name
  local dir=$deps/src
  if ! ls -d "$dir/$1"-*/ >/dev/null 2>&1; then
    echo "windows-setup: fetching the $1 source package" >&2
    mkdir -p "$dir"
    apt_update
    (cd "$dir" && apt-get source -qq "$1" >/dev/null 2>&1) || {
      echo "windows-setup: apt-get source $1 failed" >&2; exit 1; }
  fi
  # Debian's patches touch the autotools inputs, as its own build does
  # autoreconf; without it make would ask for the exact automake of upstream.
  local unpacked
  unpacked=$(ls -d "$dir/$1"-*/ | head -n1)
  if [ ! -f "$unpacked/.quillbox-autoreconf" ]; then
    # curl's last two patches turn the tree into Debian's GnuTLS and NSS
    # flavours (its rules reverse them for the others): take them off.
    if [ "$1" = curl ]; then
      local flavour
      for flavour in 99_nss 90_gnutls; do
        if [ -f "$unpacked/debian/patches/$flavour.patch" ] &&
           patch -d "$unpacked" -R -p1 -s --dry-run <"$unpacked/debian/patches/$flavour.patch" >/dev/null 2>&1; then
          patch -d "$unpacked" -R -p1 -s <"$unpacked/debian/patches/$flavour.patch"
        fi
      done
    fi
    (cd "$unpacked" && autoreconf -fi >/dev/null 2>&1) || {
      echo "windows-setup: autoreconf of $1 failed" >&2; exit 1; }
    touch "$unpacked/.quillbox-autoreconf"
  fi
  ls -d "$dir/$1"-*/ | head -n1 | sed 's:/$::' 
}

build_pcre() {  # triplet prefix
  local src build
  src=$(fetch_source pcre3)
  build=$deps/work/pcre-$1
  rm -rf "$build"; mkdir -p "$build"
  (cd "$build" && "$src/configure" --host="$1" --prefix="$2" \
      --enable-static --disable-shared --enable-utf8 --enable-unicode-properties \
      --disable-cpp --disable-pcregrep-libz --disable-pcregrep-libbz2 \
      CFLAGS="-O2" >/dev/null &&
   make -j"$jobs" libpcre.la >/dev/null &&
   make install-libLTLIBRARIES install-includeHEADERS install-nodist_includeHEADERS >/dev/null)
  rm -rf "$build"
}

build_curl() {  # triplet prefix
  local src build
  src=$(fetch_source curl)
  build=$deps/work/curl-$1
  rm -rf "$build"; mkdir -p "$build"
  # The release tarball carries its configure script; only Schannel with SSPI.
  (cd "$build" && "$src/configure" --host="$1" --prefix="$2" \
      --enable-static --disable-shared --with-schannel --enable-sspi \
      --without-zlib --without-brotli --without-zstd --disable-ldap --disable-ldaps \
      --without-libssh --without-libssh2 --without-libidn2 --without-nghttp2 --without-nghttp3 \
      --without-ngtcp2 --without-librtmp --without-libpsl --without-libgsasl \
      --disable-manual --disable-docs --without-ca-bundle --without-ca-path \
      CFLAGS="-O2" >/dev/null &&
   make -j"$jobs" -C lib >/dev/null &&
   make -C lib install >/dev/null && make -C include install >/dev/null)
  rm -rf "$build"
}

for triplet in x86_64-w64-mingw32 i686-w64-mingw32; do
  prefix=$deps/$triplet
  if [ ! -f "$prefix/lib/libpcre.a" ]; then
    echo "windows-setup: building PCRE for $triplet"
    build_pcre "$triplet" "$prefix"
  fi
  if [ ! -f "$prefix/lib/libcurl.a" ]; then
    echo "windows-setup: building libcurl for $triplet"
    build_curl "$triplet" "$prefix"
  fi
done
