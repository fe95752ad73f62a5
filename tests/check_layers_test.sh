#!/usr/bin/env bash
# The layer check itself: a clean small tree passes, and each kind of upward include
# planted in it makes the check fail and name the file.
set -u
check="$(cd "$(dirname "$0")" && pwd)/check_layers.sh"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0

plant() { # FILE LINE: a tree of the program's shape with one more include in FILE
    rm -rf "${tree:?}"/*
    mkdir -p "$tree/src/core/store" "$tree/src/app/widgets" "$tree/src/app/frame" \
        "$tree/src/app/book" "$tree/src/app/alarms" "$tree/src/platform" "$tree/src/cli" \
        "$tree/tests" "$tree/bench" "$tree/fuzz"
    echo '#include "core/store/book.h"' >"$tree/src/core/store/book.cpp"
    echo '#include "app/widgets/frame.h"' >"$tree/src/app/widgets/child_window.cpp"
    printf '#include "app/widgets/frame.h"\n#include "app/book/book.h"\n' >"$tree/src/app/frame/main_form.cpp"
    printf '#include "app/widgets/frame.h"\n#include "app/alarms/alarm_dlg.h"\n' >"$tree/src/app/book/book.cpp"
    echo '#include "app/widgets/message_dialog.h"' >"$tree/src/app/alarms/alarm_dlg.cpp"
    [ -z "$1" ] || echo "$2" >>"$tree/$1"
}

expect() { # STATUS FILE LINE
    plant "$2" "$3"
    out=$("$check" "$tree" 2>&1)
    got=$?
    if [ "$got" -ne "$1" ] || { [ -n "$2" ] && ! grep -q "$2" <<<"$out"; }; then
        echo "expected status $1 with '$3' in '$2', got $got:"
        echo "$out" | sed 's/^/    /'
        failures=$((failures + 1))
    fi
}

expect 0 "" ""
expect 1 src/app/alarms/alarm_dlg.cpp '#include "app/frame/main_form.h"'
expect 1 src/app/book/book.cpp '#include "app/frame/options_dialog.h"'
expect 1 src/app/widgets/child_window.cpp '#include "app/frame/main_form.h"'
expect 1 src/app/widgets/child_window.cpp '#include "app/book/book.h"'
expect 1 src/core/store/book.cpp '#include "app/widgets/frame.h"'
expect 1 src/core/store/book.cpp '#include <QString>'

[ $failures -eq 0 ] && echo "the layer check refuses every upward include planted"
exit $((failures > 0))
