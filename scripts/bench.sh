#!/usr/bin/env bash
# Builds Release and runs every benchmark next to its peer (mdbtools, native
# SQLite, or a fixed target where there is no peer), ROUNDS times each, and
# prints one table of medians: ours, peer, ratio, target, met; then the peak
# memory seen. Not part of the tests; run it on a quiet machine.
#   scripts/bench.sh [ROUNDS]          (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-5}
scripts/deps.sh --test
build=${BENCH_BUILD_DIR:-build-release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target tablescope-cli jet_export_bench \
  jet_to_sqlite_bench bench_jet_sql browser_bench sheet_load_bench >/dev/null
if [ ! -f "$build/bench.mdb" ]; then
  xz -dc ../shared/bench/bench.mdb.xz >"$build/bench.mdb.part" && mv "$build/bench.mdb.part" "$build/bench.mdb"
fi
mdb=$PWD/$build/bench.mdb
export QT_QPA_PLATFORM=offscreen
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

for ((round = 1; round <= rounds; round++)); do
  echo "round $round of $rounds ..." >&2
  "$build/bench/jet/jet_export_bench" "$mdb" >"$out/export.$round"
  "$build/bench/jet_sql/bench_jet_sql" "$mdb" "$PWD/$build/bench-native.sqlite" >"$out/sql.$round" || true
  "$build/bench/db/browser_bench" ../shared/testdata "$mdb" >"$out/browser.$round"
  "$build/bench/db/sheet_load_bench" "$mdb" >"$out/sheet.$round"
  "$build/bench/jet/jet_to_sqlite_bench" "$mdb" >"$out/tosqlite.$round"
done

# Prints the median of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# after PREFIX REGEX WORD: the median over the rounds of the number after WORD
# on the line matching REGEX.
after() {
  for f in "$out/$1".*; do
    awk -v word="$3" "/$2/"' { for (i = 1; i < NF; i++) if ($i == word) { print $(i + 1); exit } }' "$f"
  done | median
}
# column PREFIX REGEX N: the median of field N of the line matching REGEX.
column() { for f in "$out/$1".*; do awk "/$2/"' { print $('"$3"'); exit }' "$f"; done | median; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# runratio PREFIX REGEX: the median over the rounds of the wall ratio a bench
# program printed on its side-by-side line (each round's own ratio, so a
# machine whose speed drifts between rounds does not skew it).
runratio() { after "$1" "$2" wall | sed 's/x$//' | awk '{ printf "%.2f", $1 }'; }
# For a measure without a peer the ratio column holds the figure in the
# target's unit.
row() {  # name ours peer unit ratio comparison target
  local met
  met=$(awk -v r="$5" -v op="$6" -v t="$7" 'BEGIN { print ((op == "<=" ? r <= t : r >= t) ? "yes" : "no") }')
  printf "%-36s %10s %10s %-4s %8s %8s %4s\n" "$1" "$2" "$3" "$4" "$5" "$6$7" "$met"
}

printf "%-36s %10s %10s %-4s %8s %8s %4s\n" measure ours peer unit ratio target met
ours=$(after export '^tablescope-cli ' wall)
peer=$(after export '^mdb-export ' wall)
row "export Big to CSV vs mdb-export" "$ours" "$peer" s "$(runratio export '^ratio \(mdb-export')" ">=" 20
jsonl=$(after export '^tablescope jsonl ' wall)
row "export Big to JSONL vs our CSV" "$jsonl" "$ours" s "$(runratio export '^ratio \(jsonl')" "<=" 1.3
for q in like group join top; do
  a=$(column sql "^$q " 2)
  n=$(column sql "^$q " 3)
  row "SQL $q vs native SQLite" "$a" "$n" s "$(column sql "^$q " 4 | awk '{ printf "%.2f", $1 }')" "<=" 1.0
done
same=$(cat "$out"/sql.* | awk '$1 ~ /^(like|group|join|top)$/ && $NF != "yes" { bad = 1 } END { print bad ? "NO" : "yes" }')
echo "  (the same rows as native SQLite in every round: $same)"
click=$(after browser '^click Big to all rows' wall)
row "click Big to all rows in the sheet" "$click" - ms "$(ratio "$click" 1000)" "<=" 0.5
grow=$(column sheet 'after five reloads' NF)
row "RssAnon 5 reloads / first load" "$grow" - x "$grow" "<=" 1.10
sorted=$(after sheet '^sort Big by Name ascending' wall)
row "sort 1,000,000 rows by Name" "$sorted" - ms "$(ratio "$sorted" 1000)" "<=" 0.3
ours=$(after tosqlite '^tablescope-cli ' wall)
peer=$(after tosqlite '^mdbtools ' wall)
row "to-sqlite vs the mdbtools pipeline" "$ours" "$peer" s "$(runratio tosqlite '^ratio \(mdbtools')" ">=" 10
# Opening a 1 GB database: only when one is given.
if [ -n "${TABLESCOPE_BENCH_1GB:-}" ]; then
  for ((round = 1; round <= rounds; round++)); do
    "$build/bench/db/browser_bench" ../shared/testdata "$TABLESCOPE_BENCH_1GB" >"$out/big.$round"
  done
  opened=$(after big '^open bench.mdb to first table' wall)
  row "open the 1 GB database to a table" "$opened" - ms "$(ratio "$opened" 1000)" "<=" 1.0
  echo "  RssAnon after opening it: $(column big '^open bench.mdb to first table' NF-1) kB"
else
  echo "open a 1 GB database: set TABLESCOPE_BENCH_1GB to such a file to measure it"
fi

echo
echo "peak memory (median over the rounds):"
echo "  tablescope-cli to-sqlite: $(column tosqlite 'peak memory' NF-1) MiB"
echo "  Access SQL, highest RssAnon of the four queries: $(for f in "$out"/sql.*; do
  awk '$1 ~ /^(like|group|join|top)$/ { if ($8 > m) m = $8 } END { print m }' "$f"; done | median) MB"
echo "  the window with Big in the sheet, RssAnon: $(column browser '^click Big to all rows' NF-1) kB"
