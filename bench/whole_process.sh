#!/usr/bin/env bash
# Whole-process timings of opening and saving the limit book, beside the floor the
# disk sets: `cat` of the same file for reading, `cp` + `sync` for writing.
#
#   bench/whole_process.sh BUILD_DIR [RUNS]
#
# BUILD_DIR holds bench/tessaly_make_limit_book and src/cli/tessaly-cli. Timed with
# hyperfine when it is installed, else with a loop of its own; either way the
# figure kept is the fastest run, which is the least disturbed by other work on the
# machine. Prints each command's time and its ratio to its floor, and the peak
# resident memory of `check` against the file's size.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [RUNS]}
runs=${2:-10}
cli=$build/src/cli/tessaly-cli
maker=$build/bench/tessaly_make_limit_book
work=$build/whole-process
book=$work/LIMIT.ADR
copy=$work/COPY.ADR

mkdir -p "$work"
"$maker" "$book"
bytes=$(stat -c %s "$book")
printf 'limit book: %s bytes (%.1f MB), %d runs each, load average %s\n' \
    "$bytes" "$(awk -v b="$bytes" 'BEGIN { print b / 1e6 }')" "$runs" \
    "$(cut -d' ' -f1-3 /proc/loadavg)"

# The fastest of `runs` runs of a shell command, in milliseconds.
fastest_ms() {
    local command=$1
    if command -v hyperfine >/dev/null 2>&1; then
        local csv errors
        csv=$(mktemp)
        errors=$(mktemp)
        # Its warnings about outliers say only that the machine is busy: the fastest
        # run is kept for that reason. Real failures are shown.
        if ! hyperfine --style none --warmup 2 --runs "$runs" --output null \
            --export-csv "$csv" "$command" >/dev/null 2>"$errors"; then
            cat "$errors" >&2
            exit 1
        fi
        # command,mean,stddev,median,user,system,min,max (seconds)
        awk -F, 'NR == 2 { printf "%.1f", $(NF - 1) * 1000 }' "$csv"
        rm -f "$csv" "$errors"
    else
        local best="" i start end
        for ((i = 0; i < runs + 2; ++i)); do
            start=$(date +%s%N)
            bash -c "$command" >/dev/null
            end=$(date +%s%N)
            ((i < 2)) && continue # warm-up
            local ms=$(((end - start) / 1000))
            if [[ -z $best || $ms -lt $best ]]; then best=$ms; fi
        done
        awk -v us="$best" 'BEGIN { printf "%.1f", us / 1000 }'
    fi
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b > 0 ? a / b : 0) }'; }

cat_ms=$(fastest_ms "cat '$book'")
check_ms=$(fastest_ms "'$cli' check '$book'")
cp_ms=$(fastest_ms "cp '$book' '$copy' && sync '$copy'")
tag_ms=$(fastest_ms "'$cli' tag '$book' --all")

peak_kb=0
if [[ -x /usr/bin/time ]]; then
    peak_kb=$(/usr/bin/time -f %M "$cli" check "$book" 2>&1 >/dev/null | tail -1)
fi

printf '\n%-34s %10s   %s\n' "command" "fastest" "against"
printf '%-34s %8s ms   %s\n' "cat BOOK" "$cat_ms" "the floor for reading"
printf '%-34s %8s ms   %sx cat\n' "tessaly-cli check BOOK" "$check_ms" "$(ratio "$check_ms" "$cat_ms")"
printf '%-34s %8s ms   %s\n' "cp BOOK COPY && sync COPY" "$cp_ms" "the floor for writing"
printf '%-34s %8s ms   %sx cp + sync\n' "tessaly-cli tag BOOK --all" "$tag_ms" "$(ratio "$tag_ms" "$cp_ms")"
printf '%-34s %8s MB   %sx the file\n' "peak resident memory of check" \
    "$(awk -v k="$peak_kb" 'BEGIN { printf "%.1f", k / 1024 }')" \
    "$(ratio "$((peak_kb * 1024))" "$bytes")"
rm -f "$copy"
