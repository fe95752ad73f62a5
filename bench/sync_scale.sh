#!/usr/bin/env bash
# The sync of 32,767 ordinary contacts (the peers' people):
#   - the client's own cost, against the in-memory server: the first sync that sends
#     every entry, then rounds of ten changed entries (bench/tessaly_sync_scale);
#   - with RADICALE=1, the server's floor beside it: Radicale on a tmpfs folder, given
#     the whole address book in one PUT of the collection, then timed with curl for
#     the list of changes since a token, the PUT of a changed card and of a new one,
#     and "tessaly-cli sync" of the book after ten entries changed (the first sync
#     pairs the book's entries with the server's cards).
#
#   bench/sync_scale.sh BUILD_DIR [ROUNDS]
set -euo pipefail

build=$(cd "${1:?usage: $0 BUILD_DIR [ROUNDS]}" && pwd)
rounds=${2:-5}
here=$(cd "$(dirname "$0")" && pwd)
peers=${PEERS:-$here/../../shared/peers}
cli=$build/src/cli/tessaly-cli
work=$build/sync-scale
rm -rf "$work" && mkdir -p "$work"
cd "$work"

python3 "$peers/make_contacts_csv.py" csv >/dev/null
"$cli" sample sample.ADR
"$cli" dump sample.ADR >sample.json
python3 "$peers/contacts_book.py" csv/contacts-utf8.csv sample.json >book.json
"$cli" load people.ADR <book.json
echo "load: $(uptime)"
"$build/bench/tessaly_sync_scale" people.ADR "$rounds"

[ "${RADICALE:-0}" = 1 ] || exit 0
port=${PORT:-53299}
store=$(mktemp -d /dev/shm/tessaly-sync-scale.XXXXXX)
radicale -C --storage-filesystem-folder "$store" --logging-level warning --auth-type none \
    --server-hosts 127.0.0.1:$port >radicale.log 2>&1 &
server=$!
trap 'kill $server; rm -rf "$store"' EXIT
sleep 3
url=http://127.0.0.1:$port
curl -s -u bob:x -o /dev/null -X PROPFIND -H "Depth: 0" $url/bob/
# The cards the first sync would send, each with the UID it derives from the stamp.
"$cli" vcard export people.ADR --version 3 | python3 -c '
import re, sys
cards = sys.stdin.buffer.read().decode("utf-8").split("BEGIN:VCARD\r\n")[1:]
for c in cards:
    stamp = re.search(r"\r\nX-TESSALY-STAMP:([^\r]+)\r\n", c).group(1)
    c = c.replace("VERSION:3.0\r\n", "VERSION:3.0\r\nUID:tessaly-" + stamp + "\r\n", 1)
    sys.stdout.buffer.write(("BEGIN:VCARD\r\n" + c).encode("utf-8"))' >seed.vcf
time curl -s -u bob:x -H "Expect:" -H "Content-Type: text/vcard" -T seed.vcf $url/bob/people \
    -o /dev/null -w "whole address book in one PUT: %{http_code} %{time_total} s\n"
time "$cli" sync people.ADR --server $url/bob/people/ --user bob
edit() { # ten entries' notes changed, through dump and load
    "$cli" dump people.ADR | python3 -c '
import json, sys
j = json.load(sys.stdin); es = j["Entries"]
for k in range(10):
    es[(k * len(es) // 10 + int(sys.argv[1])) % len(es)]["NameFields"][9] = "round %s #%d" % (sys.argv[1], k)
json.dump(j, sys.stdout)' "$1" | "$cli" load people.ADR
}
for r in $(seq 1 "$rounds"); do
    edit "$r"
    /usr/bin/time -f "ten changes: %e s wall, %U s user, %S s system" "$cli" sync people.ADR
done
token=$(python3 -c 'import json; print(json.load(open("people.ADR.sync"))["token"])')
report="<?xml version=\"1.0\"?><D:sync-collection xmlns:D=\"DAV:\"><D:sync-token>$token</D:sync-token><D:sync-level>1</D:sync-level><D:prop><D:getetag/></D:prop></D:sync-collection>"
curl -s -u bob:x -X REPORT -H "Depth: 1" -H "Content-Type: application/xml" --data-binary "$report" \
    $url/bob/people/ -o /dev/null -w "floor, changes since the token: %{time_total} s\n"
card=$(ls "$store/collection-root/bob/people/" | head -1)
sed 's/^NOTE:.*/NOTE:floor/' "$store/collection-root/bob/people/$card" >one.vcf
curl -s -u bob:x -H "Expect:" -H "Content-Type: text/vcard" -T one.vcf $url/bob/people/$card \
    -o /dev/null -w "floor, PUT of a changed card: %{time_total} s\n"
sed 's/^UID:.*/UID:floor-new/' one.vcf >new.vcf
curl -s -u bob:x -H "Expect:" -H "If-None-Match: *" -H "Content-Type: text/vcard" -T new.vcf \
    $url/bob/people/floor-new.vcf -o /dev/null -w "floor, PUT of a new card: %{time_total} s\n"
echo "load: $(uptime)"
