#!/usr/bin/env bash
# The built program's command line without a display and on the offscreen platform: a wrong option
# or a second argument gives one line on stderr and status 2, Qt's own options are taken, a
# project opens (one that cannot says why in one line, the window up all the same), and --help or
# --version that cannot be written, and no display, fail in one line.   check_command_line.sh <ooscalc>
set -u
program=$1 work=$(mktemp -d) failures=0
# A project (its JSON in one line); the settings (the recent projects) in the scratch folder.
project=$(cd "$(dirname "$0")" && pwd)/fuzz/corpus/fuzz_project_file/changed_named_note
trap 'rm -rf "$work"' EXIT
# expect <status> <stderr lines> <platform, empty for no display> <arguments…>; 124: still up.
expect() {
    (cd "$work" && timeout 3 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR=. \
        XDG_CONFIG_HOME=. ${3:+QT_QPA_PLATFORM=$3} "$program" "${@:4}" >/dev/null 2>stderr)
    local got=$?
    [[ $got -eq $1 && $(wc -l <"$work/stderr") -eq $2 ]] ||
        { echo "FAIL: ${3:-no display} ${*:4}: status $got; $(cat "$work/stderr")" >&2 && ((++failures)); }
}
for platform in "" offscreen; do
    expect 2 1 "$platform" --bogus && expect 2 1 "$platform" -bogus -reverse
    expect 2 1 "$platform" -style fusion one two && expect 0 0 "$platform" --version -reverse
done
expect 124 0 offscreen -reverse -style fusion -geometry 800x600+0+0 -qwindowtitle x
expect 124 0 offscreen "$project" && expect 124 0 offscreen -style fusion -- "$project"
# The window stays up with the error report, which the offscreen platform remarks on.
(cd "$work" && timeout 3 env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=. XDG_CONFIG_HOME=. "$program" missing.ooscalc 2>stderr)
status=$? said=$(grep -v '^This plugin does not support' "$work/stderr")
[[ $status -eq 124 && $said == "ooscalc: Не удалось открыть проект «$work/missing.ooscalc»: нет такого файла." ]] ||
    { echo "FAIL: a missing project: status $status; $said" >&2 && ((++failures)); }
expect 1 1 "" && expect 1 1 "" -display :99 -style fusion && expect 1 1 "" "$project"
for option in --help --version; do
    "$program" $option >/dev/full 2>"$work/stderr"
    [[ $? -eq 1 && $(<"$work/stderr") == "ooscalc: ошибка записи в стандартный вывод: на диске нет места" ]] ||
        { echo "FAIL: $option into /dev/full: $(<"$work/stderr")" >&2 && ((++failures)); }
done
exit $((failures > 0))
