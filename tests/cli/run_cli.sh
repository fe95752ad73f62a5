#!/usr/bin/env bash
# Runs the built tessaly-cli as a user would. Usage: run_cli.sh CLI SCENARIO
set -u
cli=$1
scenario=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
    echo "FAIL ($scenario): $*" >&2
    exit 1
}

# Runs the tool, keeping its standard output, standard error and exit status.
run() {
    "$cli" "$@" >out.txt 2>err.txt
    status=$?
}

expect() { # expect STATUS OUTPUT
    [ "$status" -eq "$1" ] || fail "exit status $status, expected $1 (stderr: $(cat err.txt))"
    [ "$(cat out.txt)" = "$2" ] || fail "printed '$(cat out.txt)', expected '$2'"
}

corrupt="Address Book File is Corrupt - Recover File from Backup Copy"

case $scenario in
new-check)
    run new Fresh.adr --config-dir "$work/none"
    expect 0 ""
    run check Fresh.adr
    expect 0 "OK"
    run new Fresh.adr --config-dir "$work/none"
    [ "$status" -eq 1 ] || fail "new replaced an existing book"
    ;;
damaged)
    run new Book.adr --config-dir "$work/none"
    expect 0 ""
    size=$(stat -c %s Book.adr)
    # One byte of the trailer changed.
    cp Book.adr Trailer.adr
    printf 'Z' | dd of=Trailer.adr bs=1 seek=$((size - 2)) conv=notrunc status=none
    run check Trailer.adr
    expect 1 "TRAILER.ADR $corrupt"
    # Cut inside the body: the trailer is gone.
    head -c $((size / 2)) Book.adr >Cut.adr
    run check Cut.adr
    expect 1 "CUT.ADR $corrupt"
    # A file of the 2.0 layout starts with its version word.
    printf '\006\000\001\002\003\004\005\006' >Old.adr
    run check Old.adr
    expect 1 "OLD.ADR is a Version 2.0 Tessaly File"
    run check "$work/Missing.adr"
    expect 1 "Address Book $work/Missing.adr could not be located"
    ;;
dump-load)
    run sample Sample.adr
    expect 0 ""
    "$cli" dump Sample.adr >sample.json || fail "dump failed"
    "$cli" load Copy.adr <sample.json || fail "load failed"
    cmp -s Sample.adr Copy.adr || fail "load did not give back the same bytes"
    run check Copy.adr
    expect 0 "OK"
    # Refused JSON leaves the book as it was.
    sed 's/"ListWidth": 170/"ListWidth": 70000/' sample.json >bad.json
    "$cli" load Copy.adr <bad.json >out.txt 2>err.txt && fail "bad JSON was accepted"
    grep -q "ListWidth: 70000 is out of range" err.txt || fail "unclear message: $(cat err.txt)"
    cmp -s Sample.adr Copy.adr || fail "a refused load changed the book"
    ;;
*)
    fail "unknown scenario"
    ;;
esac
echo "PASS $scenario"
