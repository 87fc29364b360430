#!/usr/bin/env bash
# The command line of the built program, without a display and on the offscreen platform: a wrong
# option or an argument gives one line on stderr and status 2, Qt's own options are taken, and
# --help or --version that cannot be written fail.   check_command_line.sh <ooscalc>
set -uo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work")
offscreen=(env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work")

# expect <status> <stderr lines> <environment> <arguments…>; 124: still up after 3 seconds.
expect() {
    local status=$1 lines=$2 environment=$3
    shift 3
    local -n run=$environment
    timeout 3 "${run[@]}" "$program" "$@" >/dev/null 2>"$work/stderr"
    local got=$? counted
    counted=$(wc -l <"$work/stderr")
    if [[ $got -ne $status || $counted -ne $lines ]]; then
        echo "FAIL: $environment $*: status $got, $counted stderr line(s), expected $status" \
            "and $lines: $(cat "$work/stderr")" >&2
        failures=$((failures + 1))
    fi
}

for environment in headless offscreen; do
    expect 2 1 $environment --bogus
    expect 2 1 $environment -bogus -reverse
    expect 2 1 $environment extra
    expect 2 1 $environment -style fusion extra
    expect 2 1 $environment -style
    expect 0 0 $environment --version -reverse
done
expect 124 0 offscreen -reverse -style fusion -geometry 800x600+0+0 -qwindowtitle x
for option in --help --version; do
    "${headless[@]}" "$program" $option >/dev/full 2>/dev/null &&
        echo "FAIL: $option into a full disk gave status 0" >&2 && failures=$((failures + 1))
done
((failures == 0)) && echo "command line checked"
