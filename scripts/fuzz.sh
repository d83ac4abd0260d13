#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and AddressSanitizer and runs each
# for a short time (FUZZ_SECONDS, 60 by default) from the corpus kept in
# fuzz/corpus/<target>. The targets run side by side; new inputs go to a
# scratch folder, so the repository is left as it was. A crash, a hang, a
# leak or a broken property fails the run and prints the target's log.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
targets=(fuzz_database fuzz_sql fuzz_sheet_files fuzz_query_writer)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABLESCOPE_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$PWD
declare -A extra=(
  [fuzz_database]="-max_len=700000 -rss_limit_mb=2048 -timeout=20"
  [fuzz_sql]="-timeout=20 -dict=$root/fuzz/sql.dict"
  [fuzz_sheet_files]="-timeout=20"
  [fuzz_query_writer]="-max_len=700000 -rss_limit_mb=2048 -timeout=30"
)
declare -A pids
for t in "${targets[@]}"; do
  mkdir -p "$scratch/$t/new" "fuzz/corpus/$t"
  seeds=()
  case $t in
    fuzz_database | fuzz_query_writer) seeds=("$root/$build/fuzz/seeds") ;;
    fuzz_sql) seeds=("$root/fuzz/sql_seeds") ;;
  esac
  # shellcheck disable=SC2086
  (cd "$scratch/$t" && QT_QPA_PLATFORM=offscreen "$root/$build/fuzz/$t" ${extra[$t]} \
      -max_total_time="$seconds" -print_final_stats=1 new "$root/fuzz/corpus/$t" \
      "${seeds[@]}" >log 2>&1) &
  pids[$t]=$!
done
failed=0
for t in "${targets[@]}"; do
  if wait "${pids[$t]}"; then
    echo "$t: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$scratch/$t/log" | grep -o '[0-9]*$') runs, no findings"
  else
    failed=1
    echo "$t FAILED:"
    tail -n 60 "$scratch/$t/log"
  fi
done
exit $failed
