#!/usr/bin/env bash
# The layers of src/ as the includes draw them: a file includes only its own folder and the
# folders below it in the order here, and the plain library (every file outside the Qt folders:
# a subject's widgets/, ui, wmf and app) includes no Qt header and nothing of a Qt folder.
#   check_layers.sh <source dir>
set -u
cd "$1/src" || exit 2
layers=(core driver_file wmf ui input amplifier speaker driver_load report help tolerance project app)
rank() { local i; for i in "${!layers[@]}"; do [[ ${layers[$i]} == "$1" ]] && echo "$i" && return; done; echo 99; }
qtFolder() { [[ $1 == ui/* || $1 == wmf/* || $1 == app/* || $1 == */widgets/* ]]; }
failures=0
fail() { echo "FAIL: $*" >&2; ((++failures)); }
while IFS= read -r file; do
    own=$(rank "${file%%/*}")
    [[ $own == 99 ]] && fail "$file: a folder outside the layers"
    while IFS= read -r included; do
        [[ -e $included ]] || continue # a header of the same folder's build, such as a .moc
        (($(rank "${included%%/*}") > own)) && fail "$file includes $included, of a layer above"
        ! qtFolder "$file" && qtFolder "$included" && fail "$file, plain C++, includes the Qt file $included"
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
    if ! qtFolder "$file" && grep -qE '^#include <(Q|q[a-z]*\.h)' "$file"; then
        fail "$file, plain C++, includes a Qt header: $(grep -m1 -E '^#include <(Q|q[a-z]*\.h)' "$file")"
    fi
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's#^\./##' | sort)
exit $((failures > 0))
