#!/usr/bin/env bash
# Builds static libpng and libjpeg (libjpeg-turbo) for the MinGW-w64 targets
# from Debian's source packages and installs them into a per-triplet prefix.
#
# Usage: scripts/build-mingw-libs.sh [TRIPLET...]
#   TRIPLET            i686-w64-mingw32 and/or x86_64-w64-mingw32 (default: both)
#   TESSERIN_DEPS_DIR  cache root (default: $HOME/.cache/tesserin-deps)
#
# Result: $ROOT/<triplet>/{include,lib}; a stamp file marks a finished build,
# so reruns return at once. Downloaded sources are kept in $ROOT/src.
set -euo pipefail

SUITE=bookworm
PNG_PKG=libpng1.6
PNG_VER=1.6.39-2+deb12u5
JPEG_PKG=libjpeg-turbo
JPEG_VER=1:2.1.5-2
# Bump when the build recipe changes so cached prefixes get rebuilt.
RECIPE=1

ROOT=${TESSERIN_DEPS_DIR:-$HOME/.cache/tesserin-deps}
SRC_DIR=$ROOT/src
JOBS=2
APT_FILE=/etc/apt/sources.list.d/tesserin-deb-src.sources
STAMP=.stamp-png-${PNG_VER#*:}-jpeg-${JPEG_VER#*:}-r$RECIPE
HEADERS="png.h pngconf.h pnglibconf.h jpeglib.h jconfig.h jmorecfg.h jerror.h"
LIBS="libpng16.a libpng.a libjpeg.a"

log() { printf '==> %s\n' "$*" >&2; }
warn() { printf 'warning: %s\n' "$*" >&2; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

usage() { sed -n '5,7s/^# \{0,1\}//p' "$0"; }

as_root() {
	if [ "$(id -u)" -eq 0 ]; then "$@"
	elif command -v sudo >/dev/null; then sudo "$@"
	else die "need root for: $*"
	fi
}

# Prints what is missing from a triplet's prefix; fails if anything is.
check_files() {
	local f rc=0
	for f in $HEADERS; do [ -f "$ROOT/$1/include/$f" ] || { echo "include/$f"; rc=1; }; done
	for f in $LIBS; do [ -f "$ROOT/$1/lib/$f" ] || { echo "lib/$f"; rc=1; }; done
	return $rc
}

is_built() { [ -f "$ROOT/$1/$STAMP" ] && check_files "$1" >/dev/null; }

# --- what to build -----------------------------------------------------------

[ $# -gt 0 ] || set -- i686-w64-mingw32 x86_64-w64-mingw32
todo=()
seen=" "
for t in "$@"; do
	case $t in
	-h | --help) usage; exit 0 ;;
	i686-w64-mingw32 | x86_64-w64-mingw32) ;;
	*) usage; die "unsupported triplet: $t" ;;
	esac
	case $seen in *" $t "*) continue ;; esac
	seen+="$t "
	if is_built "$t"; then
		log "$t: up to date in $ROOT/$t"
	else
		todo+=("$t")
	fi
done
[ ${#todo[@]} -gt 0 ] || exit 0

# --- build tools ------------------------------------------------------------

missing=()
command -v cmake >/dev/null || missing+=(cmake)
command -v make >/dev/null || missing+=(make)
command -v dpkg-source >/dev/null || missing+=(dpkg-dev)
if [ ${#missing[@]} -gt 0 ]; then
	log "installing ${missing[*]}"
	as_root apt-get install -y --no-install-recommends "${missing[@]}" ||
		{ as_root apt-get update && as_root apt-get install -y --no-install-recommends "${missing[@]}"; } ||
		die "could not install ${missing[*]}"
fi
for t in "${todo[@]}"; do
	arch=${t%%-*}
	command -v "$t-gcc-posix" >/dev/null ||
		die "$t-gcc-posix not found (install gcc-mingw-w64-${arch//_/-}-posix)"
	{ [ -f "/usr/$t/lib/libz.a" ] && [ -f "/usr/$t/include/zlib.h" ]; } ||
		die "zlib for $t not found (install libz-mingw-w64-dev)"
done

# --- sources ----------------------------------------------------------------

dsc_of() { echo "$SRC_DIR/${1}_${2#*:}.dsc"; }

src_listed() { apt-cache showsrc --only-source "$1" 2>/dev/null | grep -xF "Version: $2" >/dev/null; }

newest_src() {
	local v best=
	for v in $(apt-cache showsrc --only-source "$1" 2>/dev/null | sed -n 's/^Version: //p'); do
		if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
	done
	echo "$best"
}

# Turns the machine's "deb" entries for $SUITE (main component) into deb822
# "deb-src" stanzas; reads one-line .list files and deb822 .sources files.
deb_src_entries() {
	local files=() f
	for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
		[ -f "$f" ] && [ "$f" != "$APT_FILE" ] && files+=("$f")
	done
	[ ${#files[@]} -gt 0 ] || return 0
	awk -v suite="$SUITE" '
	function flush(   i, s, out, k, a) {
		if (nl && types ~ /(^| )deb( |$)/ && types !~ /deb-src/ && tolower(enabled) != "no" &&
		    comps ~ /(^| )main( |$)/) {
			k = split(suites, a, /[ \t]+/); s = ""
			for (i = 1; i <= k; i++) if (a[i] ~ re) s = s (s == "" ? "" : " ") a[i]
			if (s != "") {
				out = ""
				for (i = 1; i <= nl; i++) {
					if (fld[i] == "types") out = out "Types: deb-src\n"
					else if (fld[i] == "suites") out = out "Suites: " s "\n"
					else if (fld[i] == "components") out = out "Components: main\n"
					else if (fld[i] != "enabled" && fld[i] != "architectures") out = out line[i] "\n"
				}
				emit(out)
			}
		}
		nl = 0; types = suites = comps = enabled = cur = ""
	}
	function emit(s) { if (!(s in seen)) { seen[s] = 1; printf "%s\n", s } }
	function val(s) { sub(/^[^:]*:[ \t]*/, "", s); return s }
	BEGIN { re = "^" suite "(-updates|-security)?$" }
	FNR == 1 { flush(); deb822 = (FILENAME ~ /\.sources$/) }
	!deb822 {
		sub(/#.*/, "")
		if ($1 != "deb") next
		i = 2; signed = trusted = ""
		if ($2 ~ /^\[/) {
			opts = ""
			for (; i <= NF; i++) { opts = opts " " $i; if ($i ~ /\]$/) { i++; break } }
			gsub(/[][]/, "", opts)
			n = split(opts, o, /[ \t]+/)
			for (j = 1; j <= n; j++) {
				if (o[j] ~ /^signed-by=/) signed = substr(o[j], 11)
				else if (o[j] ~ /^trusted=/) trusted = substr(o[j], 9)
			}
		}
		hasmain = 0
		for (j = i + 2; j <= NF; j++) if ($j == "main") hasmain = 1
		if (!hasmain || $(i + 1) !~ re) next
		out = "Types: deb-src\nURIs: " $i "\nSuites: " $(i + 1) "\nComponents: main\n"
		if (signed != "") out = out "Signed-By: " signed "\n"
		if (trusted != "") out = out "Trusted: " trusted "\n"
		emit(out)
		next
	}
	/^#/ { next }
	/^[ \t]*$/ { flush(); next }
	/^[ \t]/ { if (nl) { line[++nl] = $0; fld[nl] = cur }; next }
	{
		cur = tolower($0); sub(/:.*/, "", cur)
		line[++nl] = $0; fld[nl] = cur
		if (cur == "types") types = val($0)
		else if (cur == "suites") suites = val($0)
		else if (cur == "components") comps = val($0)
		else if (cur == "enabled") enabled = val($0)
	}
	END { flush() }
	' "${files[@]}"
}

# The pinned versions can drop out of the archive after a point release, so
# fall back to the newest one listed rather than fail.
resolve() {
	local pkg=$1 ver=$2 alt
	if src_listed "$pkg" "$ver"; then echo "$ver"; return; fi
	alt=$(newest_src "$pkg")
	[ -n "$alt" ] || die "no source package $pkg listed by apt (deb-src entries missing?)"
	warn "$pkg $ver is not available; using $alt"
	echo "$alt"
}

setup_apt_sources() {
	local tmp
	tmp=$(mktemp)
	{
		echo "# deb-src twin of the $SUITE entries, for building the MinGW libraries."
		echo
		deb_src_entries
	} >"$tmp"
	if ! grep -q '^Types:' "$tmp"; then
		rm -f "$tmp"
		warn "no $SUITE main entries found in the apt sources; not adding deb-src"
		return
	fi
	if ! cmp -s "$tmp" "$APT_FILE" 2>/dev/null; then
		log "writing $APT_FILE"
		as_root install -m 644 "$tmp" "$APT_FILE"
	fi
	rm -f "$tmp"
	log "apt-get update"
	as_root apt-get update -q || warn "apt-get update reported errors"
}

fetch() {
	local pkg=$1 ver=$2 dl
	dl=$(mktemp -d)
	# Let apt's unprivileged downloader write here.
	if [ "$(id -u)" -eq 0 ] && id _apt >/dev/null 2>&1; then chown _apt "$dl"; fi
	log "downloading $pkg $ver"
	if ! (cd "$dl" && apt-get source -q --download-only "$pkg=$ver") >"$dl.log" 2>&1; then
		cat "$dl.log" >&2
		rm -rf "$dl" "$dl.log"
		die "download of $pkg $ver failed"
	fi
	rm -f "$dl.log"
	mv -f "$dl"/* "$SRC_DIR"/
	rm -rf "$dl"
}

mkdir -p "$SRC_DIR"
png_ver=$PNG_VER
jpeg_ver=$JPEG_VER
if [ ! -f "$(dsc_of $PNG_PKG "$png_ver")" ] || [ ! -f "$(dsc_of $JPEG_PKG "$jpeg_ver")" ]; then
	if ! src_listed $PNG_PKG "$png_ver" || ! src_listed $JPEG_PKG "$jpeg_ver"; then
		setup_apt_sources
	fi
	png_ver=$(resolve $PNG_PKG "$png_ver")
	jpeg_ver=$(resolve $JPEG_PKG "$jpeg_ver")
	[ -f "$(dsc_of $PNG_PKG "$png_ver")" ] || fetch $PNG_PKG "$png_ver"
	[ -f "$(dsc_of $JPEG_PKG "$jpeg_ver")" ] || fetch $JPEG_PKG "$jpeg_ver"
fi

WORK=$(mktemp -d -t tesserin-deps.XXXXXX)
trap 'rm -rf "$WORK"' EXIT

log "unpacking $PNG_PKG $png_ver and $JPEG_PKG $jpeg_ver"
# dpkg-source checks the tarballs against the .dsc and applies Debian's
# patches; its chatter (gpgv lacking the Debian keyring) only matters on failure.
unpack() {
	dpkg-source -x "$1" "$2" >"$WORK/unpack.log" 2>&1 || { cat "$WORK/unpack.log" >&2; die "cannot unpack $1 (delete it to download again)"; }
}
unpack "$(dsc_of $PNG_PKG "$png_ver")" "$WORK/png"
unpack "$(dsc_of $JPEG_PKG "$jpeg_ver")" "$WORK/jpeg"

# --- build ------------------------------------------------------------------

build() {
	local t=$1 prefix=$ROOT/$1 b=$WORK/build-$1
	mkdir -p "$b"
	cat >"$b/toolchain.cmake" <<-EOF
		set(CMAKE_SYSTEM_NAME Windows)
		set(CMAKE_SYSTEM_PROCESSOR ${t%%-*})
		set(CMAKE_C_COMPILER $t-gcc-posix)
		set(CMAKE_RC_COMPILER $t-windres)
		set(CMAKE_FIND_ROOT_PATH /usr/$t)
		set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
		set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
		set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
	EOF
	# -O2 goes in CMAKE_C_FLAGS: libjpeg-turbo rewrites -O2 to -O3 in the
	# per-config flags.
	local common=(
		-G "Unix Makefiles" --no-warn-unused-cli
		-DCMAKE_TOOLCHAIN_FILE="$b/toolchain.cmake"
		-DCMAKE_BUILD_TYPE=Release
		-DCMAKE_C_FLAGS=-O2
		-DCMAKE_C_FLAGS_RELEASE=-DNDEBUG
		-DCMAKE_INSTALL_PREFIX="$prefix"
	)

	rm -rf "$prefix"

	log "$t: libpng $png_ver"
	cmake -S "$WORK/png" -B "$b/png" "${common[@]}" \
		-DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
		-DZLIB_LIBRARY="/usr/$t/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$t/include" >"$b/png.log"
	cmake --build "$b/png" -j "$JOBS" >>"$b/png.log" || { tail -n 40 "$b/png.log" >&2; die "$t: libpng build failed"; }
	cmake --install "$b/png" >>"$b/png.log"

	log "$t: libjpeg-turbo $jpeg_ver"
	cmake -S "$WORK/jpeg" -B "$b/jpeg" "${common[@]}" \
		-DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
		-DWITH_JAVA=OFF >"$b/jpeg.log"
	# Only the library: the command-line tools are not needed.
	cmake --build "$b/jpeg" -j "$JOBS" --target jpeg-static >>"$b/jpeg.log" ||
		{ tail -n 40 "$b/jpeg.log" >&2; die "$t: libjpeg build failed"; }
	install -m 644 "$b/jpeg/libjpeg.a" "$prefix/lib/"
	install -m 644 "$b/jpeg/jconfig.h" "$WORK/jpeg/jerror.h" "$WORK/jpeg/jmorecfg.h" \
		"$WORK/jpeg/jpeglib.h" "$prefix/include/"
	install -D -m 644 "$b/jpeg/pkgscripts/libjpeg.pc" "$prefix/lib/pkgconfig/libjpeg.pc"

	[ -e "$prefix/lib/libpng.a" ] || ln -s libpng16.a "$prefix/lib/libpng.a"
	local gone
	gone=$(check_files "$t") || die "$t: install lacks" "${gone//$'\n'/ }"
	printf 'libpng1.6 %s\nlibjpeg-turbo %s\n' "$png_ver" "$jpeg_ver" >"$prefix/$STAMP"
	log "$t: installed in $prefix"
}

for t in "${todo[@]}"; do
	build "$t"
done
