#!/usr/bin/env bash
# Installs the build into a scratch root as a packager does and checks the tree, the menu entry,
# the AppStream metadata and the icons; then builds the Debian package and checks its contents
# and dependencies, and runs lintian on it.   check_install.sh <build dir> <source dir> <version> <AppStream id>
set -euo pipefail
build=$1 source=$2 version=$3 app_id=$4
export LC_ALL=C.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2 && failures=$((failures + 1)); }
same_pixels() { cmp -s <(convert "$1" -depth 8 rgba:-) <(convert "$2" -depth 8 rgba:-); }
expected_files() {
    printf '%s\n' usr/bin/ooscalc usr/share/applications/ooscalc.desktop \
        usr/share/icons/hicolor/{16x16,32x32}/apps/ooscalc.png \
        usr/share/icons/hicolor/scalable/apps/ooscalc.svg "usr/share/metainfo/$app_id.metainfo.xml" \
        usr/share/mime/packages/ooscalc.xml \
        usr/share/doc/ooscalc/{copyright,changelog.gz} usr/share/man/man1/ooscalc.1.gz
}

# The installed tree, and the installed program starts and stays up, taking Qt's own option.
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
diff <(expected_files | sort) <(cd "$root" && find . ! -type d | sed 's|^\./||' | sort) ||
    fail "installed files differ from the expected set (< expected, > installed)"
status=0
(cd "$work" && timeout 3 "$root/usr/bin/ooscalc" -platform offscreen &>/dev/null) || status=$?
[[ $status -eq 124 ]] || fail "installed ooscalc did not stay up (exit status $status)"

# The command line: --help and --version answered with no display at all, a wrong option refused.
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 10 "$root/usr/bin/ooscalc")
[[ $("${headless[@]}" --version) == "ooscalc $version" ]] || fail "--version does not answer"
"${headless[@]}" --help | grep -q -- '--version' || fail "--help does not answer"
status=0
QT_QPA_PLATFORM=offscreen timeout 10 "$root/usr/bin/ooscalc" --bogus 2>"$work/refused" || status=$?
[[ $status -eq 2 ]] && grep -q "Unknown option 'bogus'" "$work/refused" ||
    fail "an unknown option gave status $status: $(cat "$work/refused")"
zcat "$root/usr/share/doc/ooscalc/changelog.gz" >"$work/changelog"
changelog_version=$(dpkg-parsechangelog -l "$work/changelog" -S Version || true)
[[ $changelog_version == "$version" ]] || fail "changelog is at $changelog_version, not $version"

# Menu entry: valid, starts the installed program, shows the installed icon, in Russian.
desktop=$root/usr/share/applications/ooscalc.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects ooscalc.desktop"
key() { sed -n "s/^$1=//p" "$desktop"; }
[[ -x $root/usr/bin/$(key Exec | cut -d ' ' -f 1) ]] || fail "Exec=$(key Exec) is not installed"
for category in Electronics Engineering; do
    [[ ";$(key Categories)" == *";$category;"* ]] || fail "Categories lacks $category"
done
for field in Name Comment; do
    key $field | grep -qP '\p{Cyrillic}' || fail "$field is not in Russian: $(key $field)"
done
[[ $(key Icon) == ooscalc ]] || fail "Icon=$(key Icon) is not the installed ooscalc icon"
[[ $(key Exec) == "ooscalc %f" && $(key MimeType) == "application/x-ooscalc;" ]] ||
    fail "the menu entry does not open projects: Exec=$(key Exec), MimeType=$(key MimeType)"

# The projects' type, as a desktop finds it in the installed database: by the name and, without
# one, by the format string the program writes first (a project, its JSON in one line).
mime=$work/mime
mkdir -p "$mime/mime/packages" && cp "$root/usr/share/mime/packages/ooscalc.xml" "$mime/mime/packages/"
XDG_DATA_HOME=$mime update-mime-database "$mime/mime" || fail "update-mime-database rejects ooscalc.xml"
cp "$source/tests/fuzz/corpus/fuzz_project_file/changed_named_note" "$work/Проект.ooscalc"
cp "$work/Проект.ooscalc" "$work/project-without-suffix"
for file in "$work/Проект.ooscalc" "$work/project-without-suffix"; do
    type=$(env -u XDG_CURRENT_DESKTOP XDG_DATA_HOME="$mime" XDG_DATA_DIRS="$mime:/usr/share" \
        xdg-mime query filetype "$file")
    [[ $type == application/x-ooscalc ]] || fail "xdg-mime takes $(basename "$file") for $type"
done
grep -q '<mediatype>application/x-ooscalc</mediatype>' "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "metainfo does not provide application/x-ooscalc"

# AppStream metadata, alone and with the tree it describes.
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo file"
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli rejects the installed tree"
grep -q '<launchable type="desktop-id">ooscalc.desktop</launchable>' "$metainfo" ||
    fail "metainfo does not launch ooscalc.desktop"
grep -Eq '<image>https://[^<]+\.png</image>' "$metainfo" || fail "metainfo has no screenshot"
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d '"' -f 2)
[[ $newest == "$version" ]] || fail "newest release in metainfo is $newest, the program $version"

# Icons: the very pixels of the window icon; the vector drawing renders at every size.
theme=$root/usr/share/icons/hicolor
for size in 16 32; do
    same_pixels "$theme/${size}x$size/apps/ooscalc.png" "$source/resources/ooscalc-$size.xpm" ||
        fail "${size}x$size icon differs from resources/ooscalc-$size.xpm"
done
for size in 16 256; do
    rsvg-convert -w $size -h $size "$theme/scalable/apps/ooscalc.svg" >/dev/null ||
        fail "the SVG icon does not render at $size"
done

# The Debian package from the same rules.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2 && fail "cpack -G DEB failed"; }
deb=$work/pkg/ooscalc_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || { fail "no package $(basename "$deb")" && exit 1; }
depends=$(dpkg-deb -I "$deb" | sed -n 's/^ Depends: //p')
echo "Depends: $depends"
depends_on() { [[ ", $depends," == *", $1"[\ ,\|]* ]]; }
depends_on fonts-liberation || fail "Depends lacks a font with Cyrillic glyphs"
depends_on qt6-translations-l10n || fail "Depends lacks Qt's Russian texts"
# Every library the program links directly comes from a package it depends on.
for library in $(objdump -p "$root/usr/bin/ooscalc" | awk '$1 == "NEEDED" { print $2 }'); do
    path=$(ldd "$root/usr/bin/ooscalc" | awk -v l="$library" '$1 == l { print $3 }')
    owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "/usr$path" 2>/dev/null || true)
    depends_on "${owner%%:*}" || fail "Depends lacks ${owner%%:*}, which provides $library"
done
contents=$(dpkg-deb -c "$deb")
diff <(expected_files | sort) <(awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' \
    <<<"$contents" | sort) || fail "package files differ from the expected set (> packaged)"
grep -Eq '^-rwxr-xr-x root/root .* \./usr/bin/ooscalc$' <<<"$contents" ||
    fail "usr/bin/ooscalc is not an executable owned by root"
# Informational tags are fine; an error or a warning is not.
lintian --fail-on error,warning "$deb" || fail "lintian finds errors or warnings in the package"

((failures == 0)) || { echo "$failures check(s) failed" >&2 && exit 1; }
echo "installed tree and package ooscalc_$version checked"
