#!/usr/bin/env bash
# Whole-process timings, each command timed in one hyperfine run beside its floor or
# peer, so that both see the same machine:
#   - `check` of the limit book beside `cat` of the same file (the floor for reading);
#   - `tag --all` of it beside `cp` + `sync` of the same file (the floor for writing);
#   - `list` of 32,767 ordinary contacts beside the console address book's load and
#     search of the same people (`abook --mutt-query`), when abook and the peers'
#     scripts are there (PEERS, by default the shared folder beside the checkout), and
#     the same people printed as address labels to a PDF beside a copy of that PDF;
#   - `import` of their CSV into a new book and `export` of it back, beside sqlite3's
#     `.import` of the CSV into a new database and abook's `--convert` of it;
# and the peak resident memory of `check` and `tag` against the file's size.
#
#   bench/whole_process.sh BUILD_DIR [RUNS]
#
# BUILD_DIR holds bench/tessaly_make_limit_book and src/cli/tessaly-cli. Each ratio is
# of the median wall times, and of the mean CPU times (user + system) of the runs.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [RUNS]}
runs=${2:-10}
here=$(cd "$(dirname "$0")" && pwd)
peers=${PEERS:-$here/../../shared/peers}
cli=$(cd "$build" && pwd)/src/cli/tessaly-cli
maker=$build/bench/tessaly_make_limit_book
work=$build/whole-process
book=$work/LIMIT.ADR
copy=$work/COPY.ADR

command -v hyperfine >/dev/null 2>&1 || {
    echo "whole_process.sh needs hyperfine (scripts/install-deps installs it)" >&2
    exit 1
}

mkdir -p "$work"
"$maker" "$book"
bytes=$(stat -c %s "$book")
printf 'limit book: %s bytes (%.1f MB), %d runs each, load average %s\n' \
    "$bytes" "$(awk -v b="$bytes" 'BEGIN { print b / 1e6 }')" "$runs" \
    "$(cut -d' ' -f1-3 /proc/loadavg)"

# Times two commands in one run; prints a line for each and the ratio of the first to
# the second. Commands that exit non-zero are timed all the same (abook finds no one).
pair() {
    local ours=$1 theirs=$2 label=$3 against=$4 csv errors
    csv=$(mktemp)
    errors=$(mktemp)
    if ! hyperfine --style none --warmup 2 --runs "$runs" --ignore-failure --output null \
        --export-csv "$csv" "$ours" "$theirs" >/dev/null 2>"$errors"; then
        cat "$errors" >&2
        exit 1
    fi
    # command,mean,stddev,median,user,system,min,max (seconds)
    awk -F, -v label="$label" -v against="$against" '
        NR == 2 { wall = $(NF - 4); cpu = $(NF - 3) + $(NF - 2) }
        NR == 3 { pwall = $(NF - 4); pcpu = $(NF - 3) + $(NF - 2) }
        END {
            printf "%-30s %7.1f ms wall %7.1f ms CPU\n", label, wall * 1000, cpu * 1000
            printf "%-30s %7.1f ms wall %7.1f ms CPU\n", against, pwall * 1000, pcpu * 1000
            printf "%-30s %7.2fx wall %8.2fx CPU\n\n", "  ratio", wall / pwall, cpu / pcpu
        }' "$csv"
    rm -f "$csv" "$errors"
}

# Times three commands in one run, each after its own preparation; prints a line for
# each and the ratios of the first to the other two.
trio() {
    local csv errors
    csv=$(mktemp)
    errors=$(mktemp)
    if ! hyperfine --style none --warmup 2 --runs "$runs" --output null --export-csv "$csv" \
        --prepare "$4" --prepare "$5" --prepare "$6" "$1" "$2" "$3" >/dev/null 2>"$errors"; then
        cat "$errors" >&2
        exit 1
    fi
    awk -F, -v a="$7" -v b="$8" -v c="$9" '
        NR > 1 { wall[NR - 1] = $(NF - 4); cpu[NR - 1] = $(NF - 3) + $(NF - 2) }
        END {
            printf "%-30s %7.1f ms wall %7.1f ms CPU\n", a, wall[1] * 1000, cpu[1] * 1000
            printf "%-30s %7.1f ms wall %7.1f ms CPU\n", b, wall[2] * 1000, cpu[2] * 1000
            printf "%-30s %7.1f ms wall %7.1f ms CPU\n", c, wall[3] * 1000, cpu[3] * 1000
            printf "%-30s %7.2fx wall %8.2fx CPU\n", "  ratio to " b, wall[1] / wall[2], cpu[1] / cpu[2]
            printf "%-30s %7.2fx wall %8.2fx CPU\n\n", "  ratio to " c, wall[1] / wall[3], cpu[1] / cpu[3]
        }' "$csv"
    rm -f "$csv" "$errors"
}

echo
echo "median wall time and mean CPU time of $runs runs each, file in the page cache"
pair "'$cli' check '$book'" "cat '$book'" "tessaly-cli check BOOK" "cat BOOK"
pair "'$cli' tag '$book' --all" "sh -c \"cp '$book' '$copy' && sync '$copy'\"" \
    "tessaly-cli tag BOOK --all" "cp BOOK COPY && sync COPY"
rm -f "$copy"

if command -v abook >/dev/null 2>&1 && command -v python3 >/dev/null 2>&1 &&
    [[ -f $peers/make_contacts_csv.py && -f $peers/contacts_book.py ]]; then
    contacts=$work/contacts
    mkdir -p "$contacts"
    if [[ ! -f $contacts/CONTACTS.ADR || ! -f $contacts/ab.addressbook ]]; then
        python3 "$peers/make_contacts_csv.py" "$contacts" >/dev/null
        "$cli" sample --force "$contacts/SAMPLE.ADR" >/dev/null
        "$cli" dump "$contacts/SAMPLE.ADR" >"$contacts/sample.json"
        python3 "$peers/contacts_book.py" "$contacts/contacts-utf8.csv" \
            "$contacts/sample.json" >"$contacts/contacts.json"
        rm -f "$contacts/CONTACTS.ADR"
        "$cli" load "$contacts/CONTACTS.ADR" <"$contacts/contacts.json"
        abook --convert --informat csv --infile "$contacts/contacts-utf8.csv" \
            --outformat abook --outfile "$contacts/ab.addressbook" >/dev/null
    fi
    pair "'$cli' list '$contacts/CONTACTS.ADR'" \
        "abook --datafile '$contacts/ab.addressbook' --mutt-query zzzz" \
        "tessaly-cli list CONTACTS" "abook, the same people"
    # The CSV those people came from, imported into a new book and saved, beside the
    # database shell's import of it into a new database and abook's conversion of it;
    # then that book exported back to CSV beside the same two. Each run starts afresh.
    if command -v sqlite3 >/dev/null 2>&1; then
        csv=$contacts/contacts-utf8.csv
        config=$contacts/exchange-config
        mkdir -p "$config"
        "$cli" new --force "$contacts/EMPTY.ADR" >/dev/null
        new=$contacts/NEW.ADR
        db=$contacts/new.sqlite
        fresh_book="cp '$contacts/EMPTY.ADR' '$new'"
        fresh_db="rm -f '$db'"
        # abook will not write over a file: each of its runs starts without one.
        fresh_convert="rm -f '$contacts/convert.addressbook'"
        sqlite_import="sqlite3 '$db' '.mode csv' '.import $csv people'"
        abook_convert="abook --convert --informat csv --infile '$csv' --outformat abook --outfile '$contacts/convert.addressbook'"
        trio "'$cli' import '$new' '$csv' --config-dir '$config'" "$sqlite_import" "$abook_convert" \
            "$fresh_book" "$fresh_db" "$fresh_convert" \
            "tessaly-cli import CSV" "sqlite3 .import CSV" "abook --convert CSV"
        sh -c "$fresh_book && '$cli' import '$new' '$csv' --config-dir '$config'" >/dev/null
        trio "'$cli' export '$new' '$contacts/export.csv' --config-dir '$config'" "$sqlite_import" \
            "$abook_convert" "true" "$fresh_db" "$fresh_convert" \
            "tessaly-cli export CSV" "sqlite3 .import CSV" "abook --convert CSV"
    else
        echo "(import and export against sqlite3 left out: sqlite3 is missing)"
        echo
    fi
    # The same people as address labels on a 2 x 7 A4 sheet: a PDF of 2,341 pages, beside
    # a copy of that PDF (the floor for writing it), and the run's peak memory.
    labels=$contacts/print-config
    pdf=$contacts/labels.pdf
    print="'$cli' print '$contacts/CONTACTS.ADR' --layout 'Address Labels (A4)' --config-dir '$labels' --pdf '$pdf'"
    sh -c "$print" >/dev/null
    pair "$print" "cp '$pdf' '$pdf.copy'" "tessaly-cli print LABELS" "cp of the PDF"
    if [[ -x /usr/bin/time ]]; then
        kb=$(/usr/bin/time -f %M sh -c "exec $print" 2>&1 >/dev/null | tail -1)
        printf '%-30s %7.1f MB\n\n' "peak memory of print LABELS" "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')"
    fi
else
    echo "(list against abook left out: abook, python3 or $peers is missing)"
    echo
fi

# Peak resident memory: of `check`, which keeps no entry, and of `tag`, which builds
# the whole book and writes it.
peak() {
    local kb=0
    if [[ -x /usr/bin/time ]]; then
        kb=$(/usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1)
    fi
    awk -v k="$kb" -v b="$bytes" 'BEGIN { printf "%7.1f MB   %.2fx the file\n", k / 1024, k * 1024 / b }'
}
printf '%-30s %s\n' "peak memory of check" "$(peak "$cli" check "$book")"
printf '%-30s %s\n' "peak memory of tag --all" "$(peak "$cli" tag "$book" --all)"
