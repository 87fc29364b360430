#!/usr/bin/env bash
# Installs the built program into a scratch root as a packager does, checks the tree, the menu
# entry, the AppStream metadata and the icons, then builds the Debian package and checks its
# contents and dependencies.
#   check_install.sh <build dir> <source dir> <version> <AppStream id>
set -euo pipefail
build=$1 source=$2 version=$3 app_id=$4
export LC_ALL=C.UTF-8

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pixels() { convert "$1" -depth 8 rgba:-; }
same_pixels() { cmp -s <(pixels "$1") <(pixels "$2"); }

expected_files() {
    printf '%s\n' usr/bin/ooscalc usr/share/applications/ooscalc.desktop \
        usr/share/icons/hicolor/16x16/apps/ooscalc.png \
        usr/share/icons/hicolor/32x32/apps/ooscalc.png \
        usr/share/icons/hicolor/scalable/apps/ooscalc.svg \
        "usr/share/metainfo/$app_id.metainfo.xml" | sort
}

# --- The installed tree ------------------------------------------------------------------------
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
diff <(expected_files) <(cd "$root" && find . ! -type d | sed 's|^\./||' | sort) ||
    fail "installed files differ from the expected set (< expected, > installed)"
[[ -x $root/usr/bin/ooscalc ]] || fail "usr/bin/ooscalc is not executable"

# The installed program starts and keeps running, and writes nothing where it was started.
mkdir "$work/run"
status=0
(cd "$work/run" && QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/ooscalc" >/dev/null 2>&1) ||
    status=$?
[[ $status -eq 124 ]] || fail "installed ooscalc did not stay up (exit status $status)"
[[ -z $(ls -A "$work/run") ]] || fail "starting ooscalc wrote files: $(ls -A "$work/run")"

# --- Menu entry ----------------------------------------------------------------------------------
desktop=$root/usr/share/applications/ooscalc.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects ooscalc.desktop"
key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
exec_binary=$(key Exec | cut -d ' ' -f 1)
[[ -x $root/usr/bin/$exec_binary ]] || fail "Exec=$exec_binary is not an installed program"
for category in Electronics Engineering; do
    [[ ";$(key Categories)" == *";$category;"* ]] || fail "Categories lacks $category"
done
for field in Name Comment; do
    key "$field" | grep -qP '\p{Cyrillic}' || fail "$field is not in Russian: $(key "$field")"
done
icon=$(key Icon)
for path in 16x16/apps/$icon.png 32x32/apps/$icon.png scalable/apps/$icon.svg; do
    [[ -f $root/usr/share/icons/hicolor/$path ]] || fail "Icon=$icon has no hicolor/$path"
done

# --- AppStream metadata ----------------------------------------------------------------------------
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo file"
appstreamcli validate-tree --no-net "$root" ||
    fail "appstreamcli validate-tree rejects the installed tree"
grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
grep -q '<launchable type="desktop-id">ooscalc.desktop</launchable>' "$metainfo" ||
    fail "metainfo does not launch ooscalc.desktop"
grep -Eq '<image>https://[^<]+\.png</image>' "$metainfo" || fail "metainfo has no screenshot"
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d '"' -f 2)
[[ $newest == "$version" ]] || fail "newest release in metainfo is $newest, the program is $version"

# --- Icons: the very pixels the windows use --------------------------------------------------------
theme=$root/usr/share/icons/hicolor
for size in 16 32; do
    same_pixels "$theme/${size}x$size/apps/ooscalc.png" "$source/resources/ooscalc-$size.xpm" ||
        fail "${size}x$size icon differs from resources/ooscalc-$size.xpm"
done
# The scalable icon draws the 32 × 32 picture: exact at its own size and without blur when large.
rsvg-convert -w 32 -h 32 "$theme/scalable/apps/ooscalc.svg" >"$work/svg32.png"
rsvg-convert -w 256 -h 256 "$theme/scalable/apps/ooscalc.svg" >"$work/svg256.png"
convert "$source/resources/ooscalc-32.xpm" -scale 800% "$work/xpm256.png"
same_pixels "$work/svg32.png" "$source/resources/ooscalc-32.xpm" ||
    fail "scalable icon at 32 × 32 differs from resources/ooscalc-32.xpm"
same_pixels "$work/svg256.png" "$work/xpm256.png" ||
    fail "scalable icon at 256 × 256 is not the 32 × 32 pixels enlarged"

# --- Debian package --------------------------------------------------------------------------------
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack -G DEB failed"; }
deb=$work/pkg/ooscalc_${version}_$(dpkg --print-architecture).deb
if [[ ! -f $deb ]]; then
    fail "no package $(basename "$deb")"
else
    info=$(dpkg-deb -I "$deb")
    field() { sed -n "s/^ $1: //p" <<<"$info"; }
    [[ $(field Package) == ooscalc ]] || fail "Package: $(field Package)"
    [[ $(field Version) == "$version" ]] || fail "Version: $(field Version)"
    depends=$(field Depends)
    echo "Depends: $depends"
    depends_on() { [[ ", $depends," == *", $1"[\ ,\|]* ]]; }
    depends_on fonts-liberation || fail "Depends lacks a font with Cyrillic glyphs"

    # Every library the program links directly comes from a package it depends on.
    libraries=$(objdump -p "$root/usr/bin/ooscalc" | awk '$1 == "NEEDED" { print $2 }')
    for library in $libraries; do
        path=$(ldd "$root/usr/bin/ooscalc" | awk -v l="$library" '$1 == l { print $3 }')
        owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "/usr$path" 2>/dev/null || true)
        owner=${owner%%:*}
        if [[ -z $owner ]]; then
            fail "no package owns $library ($path)"
        elif ! depends_on "$owner"; then
            fail "Depends lacks $owner, which provides $library"
        fi
    done

    contents=$(dpkg-deb -c "$deb")
    diff <(expected_files) <(awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' <<<"$contents" |
        sort) || fail "package files differ from the expected set (< expected, > packaged)"
    grep -Eq '^-rwxr-xr-x root/root .* \./usr/bin/ooscalc$' <<<"$contents" ||
        fail "usr/bin/ooscalc is not an executable owned by root"

    # Same install rules: the packaged files are those installed above (the program stripped).
    dpkg-deb -x "$deb" "$work/deb"
    while read -r file; do
        [[ $file == usr/bin/ooscalc ]] && continue
        cmp -s "$root/$file" "$work/deb/$file" || fail "packaged $file differs from installed"
    done < <(expected_files)
    file "$work/deb/usr/bin/ooscalc" | grep -q ', stripped' || fail "packaged ooscalc not stripped"
fi

if ((failures > 0)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "installed tree and package ooscalc_${version} checked"
