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
two-writers)
    # Two tag commands started together on different entries: the writers' lock makes
    # the second wait for the first, so neither tag is lost.
    run sample Two.adr
    expect 0 ""
    for round in $(seq 1 50); do
        "$cli" tag Two.adr --all --off || fail "round $round: untag failed"
        "$cli" tag Two.adr --index 0 2>err0.txt &
        first=$!
        "$cli" tag Two.adr --index 1 2>err1.txt &
        second=$!
        wait $first || fail "round $round: first tag failed: $(cat err0.txt)"
        wait $second || fail "round $round: second tag failed: $(cat err1.txt)"
        tagged=$("$cli" dump Two.adr | grep -c '"Tagged": 1')
        [ "$tagged" -eq 2 ] || fail "round $round: $tagged entries tagged, expected 2"
    done
    ls | grep -q '\.tmp' && fail "temporary files left: $(ls)"
    ;;
lost-output)
    # Output that cannot be written is a failure, said once on standard error.
    run sample Out.adr
    expect 0 ""
    for command in dump check list searches; do
        "$cli" $command Out.adr >/dev/full 2>err.txt && fail "$command reported success"
        [ "$(cat err.txt)" = "tessaly-cli: the output could not be written completely" ] ||
            fail "$command said: $(cat err.txt)"
    done
    # add prints before it writes: with its output lost the book is left as it was.
    cp Out.adr Before.adr
    echo '{}' | "$cli" add Out.adr >/dev/full 2>err.txt && fail "add reported success"
    grep -q "OUT.ADR was not changed: the new entry could not be printed" err.txt ||
        fail "add said: $(cat err.txt)"
    cmp -s Before.adr Out.adr || fail "add changed the book although its output was lost"
    # A closed standard output is lost output too, and no file takes its place.
    echo '{}' | "$cli" add Out.adr >&- 2>err.txt && fail "add to a closed output reported success"
    cmp -s Before.adr Out.adr || fail "add changed the book with its output closed"
    run check Out.adr
    expect 0 "OK"
    ;;
messages)
    # Every refusal says why in whole lines: the last byte written is a line break.
    run sample Msg.adr
    expect 0 ""
    mkfifo Fifo.adr
    check_refusal() { # check_refusal INPUT ARGS...
        input=$1
        shift
        printf '%s' "$input" | "$cli" "$@" >out.txt 2>err.txt && fail "$* succeeded"
        [ -s err.txt ] || [ -s out.txt ] || fail "$* said nothing"
        for f in out.txt err.txt; do
            [ ! -s $f ] || [ "$(tail -c 1 $f | od -An -c | tr -d ' ')" = '\n' ] ||
                fail "$* ends its message without a line break: $(cat $f)"
        done
    }
    check_refusal '{"Foo": 1}' load Msg.adr
    check_refusal '{"Foo": 1}' add Msg.adr
    check_refusal '{"Created": 1e400}' add Msg.adr
    check_refusal '' tag Msg.adr --index ""
    check_refusal '' tag Msg.adr --index 0x1
    check_refusal '' tag Msg.adr --index 99
    check_refusal '' tag Missing.adr --index 0
    check_refusal '' delete Msg.adr
    check_refusal '' check Missing.adr
    check_refusal '' dump Missing.adr
    check_refusal '' new Fifo.adr --force
    check_refusal '' tag Msg.adr --index 0 --wait x
    check_refusal '' tag Msg.adr --bogus
    chmod 444 Msg.adr
    check_refusal '' tag Msg.adr --all
    [ "$(cat err.txt)" = "MSG.ADR could not be written: cannot write Msg.adr: Permission denied (the file is read-only for this user)" ] ||
        fail "read-only book: $(cat err.txt)"
    [ -p Fifo.adr ] || fail "the FIFO was replaced"
    ;;
diary-agenda)
    cat >plan.json <<'JSON'
{"Version": 13, "WindowState": 0, "WindowBounds": [5, 5, 500, 450], "ShowCompleted": 1,
 "ShowRecurring": 1, "ShowNotes": 1, "SortOrder": 1, "Created": 45000.5, "LastUpdated": 0,
 "ColumnWidths": [22, 40, 100], "Events": [
 {"AlarmTime": 45322.375, "When": 45322.41666666666, "Until": 45400, "Completed": 0,
  "AlarmSet": 1, "NoTime": 0, "Frequency": 4, "Interval": 1, "AdvanceDays": 0, "Priority": 5,
  "Description": "Rent \u20ac", "Notes": "pay"},
 {"AlarmTime": 45351, "When": 45351, "Until": 45351, "Completed": 0, "AlarmSet": 0,
  "NoTime": 1, "Frequency": 0, "Interval": 1, "AdvanceDays": 0, "Priority": 5,
  "Description": "Leap day", "Notes": null}]}
JSON
    "$cli" load Plan.TDY <plan.json || fail "load of a diary failed"
    run check Plan.TDY
    expect 0 "OK"
    run sample Sample.adr
    run agenda Plan.TDY Sample.adr --from 2024-02-28 --to 2024-02-29
    [ "$status" -eq 0 ] || fail "agenda failed: $(cat err.txt)"
    printf '2024-02-29\t--:--\tLeap day\n2024-02-29\t10:00\tRent \342\202\254\n' >want.txt
    grep -v -P '\t.*\t' out.txt >/dev/null && fail "a line without two tabs"
    grep -F -x -f want.txt out.txt | cmp -s - want.txt || fail "agenda printed '$(cat out.txt)'"
    run due Plan.TDY --now "2024-01-31 09:59"
    expect 0 ""
    run due Plan.TDY --now "2024-01-31 10:00"
    expect 0 "2024-01-31	10:00	Rent €"
    run ical Plan.TDY --from 2024-01-01 --to 2024-12-31
    [ "$status" -eq 0 ] || fail "ical failed: $(cat err.txt)"
    [ -s err.txt ] && fail "ical said on success: '$(cat err.txt)'"
    grep -q "^SUMMARY:Leap day" out.txt || fail "ical lacks the note"
    grep -q "^RDATE:20240229T100000" out.txt || fail "ical lacks the month-end dates"
    # A failure of the handed-over writer reads as its own message alone.
    run ical Missing.TDY
    [ "$status" -eq 1 ] || fail "ical of a missing diary gave $status"
    [ "$(cat err.txt)" = "Diary Missing.TDY could not be located" ] ||
        fail "ical of a missing diary said '$(cat err.txt)'"
    run agenda Plan.TDY --from 2024-02-30 --to 2024-03-01
    [ "$status" -eq 1 ] || fail "a bad date was taken"

    # The iCalendar writer is in a second program beside tessaly-cli, which hands the
    # ical command over to it: tessaly-cli itself starts without libical, and without
    # the second program every other command still works while ical says what is
    # missing.
    ldd "$cli" 2>&1 | grep -q -i -E "libical|libicu" && fail "tessaly-cli links libical: $(ldd "$cli")"
    [ -x "$(dirname "$cli")/tessaly-ical" ] || fail "no tessaly-ical beside $cli"
    mkdir alone
    cp "$cli" alone/tessaly-cli
    "$work/alone/tessaly-cli" agenda Plan.TDY --from 2024-02-29 --to 2024-02-29 >out.txt 2>err.txt
    status=$?
    expect 0 "$(printf '2024-02-29\t--:--\tLeap day\n2024-02-29\t10:00\tRent \342\202\254')"
    "$work/alone/tessaly-cli" ical Plan.TDY >out.txt 2>err.txt
    status=$?
    expect 1 ""
    grep -q "^tessaly-cli: the iCalendar export cannot be loaded: .*/alone/tessaly-ical: No such file" err.txt ||
        fail "ical without its program said '$(cat err.txt)'"
    ;;
hostile-targets)
    # Odd targets given as books and diaries are refused at once and in little memory,
    # never read without end or waited on; under a sanitizer the address space cannot
    # be limited.
    limited() {
        (
            [ -n "${TESSALY_SANITIZED:-}" ] || ulimit -v 1000000
            timeout 20 "$cli" "$@"
        ) >out.txt 2>err.txt
        status=$?
        [ "$status" -ne 124 ] || fail "$* was still running after 20 s"
    }
    run sample Book.adr
    expect 0 ""
    ln -s /dev/zero Zero.TDY
    ln -s /dev/zero Zero.adr
    mkfifo Fifo.TDY Fifo.adr
    # A diary of 4 GB, almost all of it a hole: its head and trailer are right.
    printf '\005TD-V3' >Huge.TDY
    truncate -s 4G Huge.TDY
    printf '\005TD-V3' | dd of=Huge.TDY bs=1 seek=$((4 * 1024 * 1024 * 1024 - 6)) conv=notrunc status=none
    for target in Zero.TDY Zero.adr Fifo.TDY Fifo.adr; do
        limited check $target
        expect 1 "$(echo $target | tr a-z A-Z) could not be read: cannot read $target: Invalid argument (it is not a regular file)"
        commands=(dump "agenda --from 2024-01-01 --to 2024-01-02" "due --now '2024-01-01 10:00'" ical)
        case $target in *.adr) commands+=("tag --all") ;; esac
        for command in "${commands[@]}"; do
            eval limited $command $target
            [ "$status" -eq 1 ] || fail "$command $target gave $status"
            grep -q "not a regular file" err.txt || fail "$command $target said '$(cat err.txt)'"
        done
    done
    limited check Huge.TDY
    expect 1 "HUGE.TDY Diary File is Corrupt - Recover File from Backup Copy"

    # A book is not written over a diary, under its name or not.
    run new Plans.TDY
    expect 0 ""
    cp Plans.TDY Plans.copy
    run sample --force Plans.TDY
    expect 1 ""
    [ "$(cat err.txt)" = "PLANS.TDY is a diary's name; an address book is not written to it" ] ||
        fail "sample over a diary said '$(cat err.txt)'"
    cmp -s Plans.TDY Plans.copy || fail "sample wrote over a diary"
    run check Plans.TDY
    expect 0 "OK"

    # A link to a book not yet made: the book is made where the link leads.
    mkdir real
    ln -s real/Linked.adr Linked.adr
    run new Linked.adr --config-dir "$work/none"
    expect 0 ""
    [ -L Linked.adr ] || fail "the link was replaced"
    [ -f real/Linked.adr ] || fail "the link's file was not made"
    echo '{}' | "$cli" add Linked.adr >/dev/null 2>err.txt || fail "add through the link: $(cat err.txt)"
    [ -L Linked.adr ] || fail "add replaced the link"
    run check real/Linked.adr
    expect 0 "OK"
    ;;
printing)
    run papers --config-dir cfg
    [ "$status" -eq 0 ] || fail "papers: $(cat err.txt)"
    [ "$(head -n 1 out.txt)" = "$(printf '0\tListing\tLetter, 8\xc2\xbd x 11 in.')" ] ||
        fail "the first paper is '$(head -n 1 out.txt)'"
    grep -q "$(printf '\tEnvelope\tEnvelope DL, 110 x 220 mm')\$" out.txt || fail "no DL envelope"
    grep -q "$(printf '\tLabel\tAddress Labels A4, 2 x 7, 99.1 x 38.1 mm')\$" out.txt ||
        fail "no 2 x 7 label sheet"
    [ -f cfg/TESSALY.TPP ] || fail "the factory paper list was not saved"
    run layouts --config-dir cfg
    expect 0 "$(printf '0\tAddress Book Entries\tAddress Labels (A4)\n1\tAddress Book Entries\tAddress Labels (Letter)\n2\tAddress Book Entries\tEnvelope (DL)\n3\tAddress Book Entries\tEnvelope (#10)\n4\tAddress Book Entries\tTelephone List\n5\tAddress Book Entry Reminders\tReminder List\n6\tDiary Book Events\tDiary List')"
    run reports --config-dir cfg
    expect 0 ""
    # A damaged paper file is kept aside and the factory list takes its place.
    printf '\005TS-V3\015\000junk' >cfg/TESSALY.TPP
    run papers --config-dir cfg
    [ "$status" -eq 0 ] && [ -f cfg/TESSALY.TPP.BAD ] || fail "the damaged paper file was not kept"
    run layouts --config-dir cfg
    [ "$(wc -l <out.txt)" -eq 7 ] || fail "a damaged paper file cost layouts: $(cat out.txt)"

    run sample Sample.adr
    run print Sample.adr --layout "Address Labels (A4)" --config-dir cfg --start-label 3 --plan
    [ "$status" -eq 0 ] || fail "print --plan: $(cat err.txt)"
    python3 - out.txt <<'PY' || fail "the label plan"
import json, sys
plan = json.load(open(sys.argv[1]))
page = plan["Pages"][0]
assert (page["Width"], page["Height"], page["Landscape"]) == (210, 297, False), page
first = page["Items"][0]
# Label 3 of a 2 x 7 sheet: row 1, column 0; the name 5 mm in and 4 mm down.
assert abs(first["Left"] - (4.65 + 5)) < 1e-9 and abs(first["Top"] - (15.15 + 38.1 + 4)) < 1e-9, first
assert first["Text"] == "Dr Cedric Vantongeren" and first["Font"]["Name"] == "Arial", first
PY
    run print Sample.adr --layout "Telephone List" --config-dir cfg --entry 2 --plan
    [ "$status" -eq 0 ] || fail "print --entry: $(cat err.txt)"
    [ "$(grep -c '"Kind": "Text"' out.txt)" -ge 4 ] || fail "one entry's listing: $(cat out.txt)"
    run print Sample.adr --layout "Nowhere" --config-dir cfg --plan
    [ "$status" -eq 1 ] && grep -q 'No page layout is named "Nowhere"' err.txt ||
        fail "an unknown layout: $(cat err.txt)"
    run print Sample.adr --layout "Diary List" --config-dir cfg --plan
    [ "$status" -eq 1 ] && grep -q "only be printed from a Diary" err.txt ||
        fail "a diary layout for a book: $(cat err.txt)"

    # A printer the print service does not know prints nothing and says so.
    if [ -x "$(dirname "$cli")/tessaly-print" ]; then
        run print Sample.adr --layout "Telephone List" --config-dir cfg --printer "No Such Printer"
        [ "$status" -eq 1 ] && grep -q 'No printer is named "No Such Printer"' err.txt ||
            fail "an unknown printer: $status $(cat err.txt)"
        run print Sample.adr --layout "Telephone List" --config-dir cfg --printer P --plan
        [ "$status" -ne 0 ] || fail "--printer with --plan was taken"
    fi

    # The PDF: every text of the plan where the plan put it, on pages of its size.
    if [ -x "$(dirname "$cli")/tessaly-print" ] && command -v pdftotext >/dev/null; then
        for layout in "Address Labels (A4)" "Telephone List" "Envelope (DL)"; do
            "$cli" print Sample.adr --layout "$layout" --config-dir cfg --now "2026-12-10 09:00" \
                --plan >plan.json 2>err.txt || fail "plan of $layout: $(cat err.txt)"
            run print Sample.adr --layout "$layout" --config-dir cfg --now "2026-12-10 09:00" \
                --pdf out.pdf
            [ "$status" -eq 0 ] || fail "print --pdf $layout: $(cat err.txt)"
            pdftotext -bbox out.pdf words.html || fail "pdftotext"
            pdfinfo -l 999 out.pdf >info.txt || fail "pdfinfo"
            python3 - plan.json words.html info.txt <<'PY' || fail "the PDF of $layout"
import json, re, sys
plan = json.load(open(sys.argv[1]))
pages = re.findall(r'<page width="([\d.]+)" height="([\d.]+)">(.*?)</page>',
                   open(sys.argv[2]).read(), re.S)
assert len(pages) == len(plan["Pages"]), (len(pages), len(plan["Pages"]))
mm = 25.4 / 72
checked = 0
for planned, (width, height, body) in zip(plan["Pages"], pages):
    assert abs(float(width) * mm - planned["Width"]) < 0.5, (width, planned["Width"])
    assert abs(float(height) * mm - planned["Height"]) < 0.5, (height, planned["Height"])
    words = [(float(a) * mm, float(b) * mm, w) for a, b, w in
             re.findall(r'<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>', body)]
    for item in planned["Items"]:
        if item["Kind"] != "Text" or item["Align"] != "Left" or not item["Text"].split():
            continue
        first = item["Text"].split()[0].replace("&", "&amp;")
        near = [w for w in words if w[2] == first and abs(w[0] - item["Left"]) <= 0.5
                and abs(w[1] - item["Top"]) <= 0.5]
        assert near, (first, item["Left"], item["Top"], [w for w in words if w[2] == first])
        checked += 1
assert checked > 0
print(checked, "texts in place", file=sys.stderr)
PY
        done
    fi
    ;;
exchange)
    # A spreadsheet's UTF-8 file in, and out again through standard output and a file.
    run new People.adr --config-dir "$work/none"
    expect 0 ""
    printf 'Title,First,Surname\r\nDr,Ann,"Smith, Jr"\r\nMr,Jos\303\251,Brown\r\n' >in.csv
    run import People.adr in.csv --config-dir "$work/none"
    expect 0 "2"
    run export People.adr - --selection entry --entry 1 --config-dir "$work/none"
    [ "$status" -eq 0 ] || fail "export to standard output failed: $(cat err.txt)"
    # The book keeps Windows-1252: the e acute is one byte, 0xE9.
    grep -q "\"Mr\",\"Jos$(printf '\351')\",\"Brown\"" out.txt || fail "entry 1 not written: $(cat out.txt)"
    [ "$(wc -l <out.txt)" -eq 2 ] || fail "not a header and one line"
    run export People.adr all.csv --selection tagged --config-dir "$work/none"
    expect 0 "0"
    run import People.adr missing.csv --config-dir "$work/none"
    [ "$status" -eq 1 ] || fail "a missing input was accepted"
    grep -q "Unable to Process File due to an Unknown Error" err.txt || fail "no message: $(cat err.txt)"
    run export People.adr - --selection everything --config-dir "$work/none"
    [ "$status" -eq 1 ] || fail "an unknown selection was accepted"
    ;;
*)
    fail "unknown scenario"
    ;;
esac
echo "PASS $scenario"
