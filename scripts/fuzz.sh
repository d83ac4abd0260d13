#!/usr/bin/env bash
# Builds every libFuzzer target (fuzz/fuzz_*.cpp) with clang and
# AddressSanitizer, and only them and what they link, then runs each for
# FUZZ_SECONDS (60 by default) from the corpus kept in fuzz/corpus/<target>
# and its seeds, all side by side (FUZZ_JOBS at a time if set). New inputs
# go to a scratch folder, so the repository is left as it was; with
# --update-corpus the new inputs that reach code the corpus does not are
# merged into fuzz/corpus/<target>, none over FUZZ_CORPUS_MAX_KB (100). A
# crash, a hang, a leak or a broken property fails the run and prints the
# target's log and where the input that found it was kept (FUZZ_ARTIFACTS,
# <build>/fuzz-artifacts by default).
set -euo pipefail
cd "$(dirname "$0")/.."
update=0
[ "${1:-}" = "--update-corpus" ] && update=1
build=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
corpus_kb=${FUZZ_CORPUS_MAX_KB:-100}
targets=()
for source in fuzz/fuzz_*.cpp; do
  targets+=("$(basename "$source" .cpp)")
done
jobs=${FUZZ_JOBS:-${#targets[@]}}

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABLESCOPE_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$PWD
artifacts=${FUZZ_ARTIFACTS:-$root/$build/fuzz-artifacts}
mkdir -p "$artifacts"

# Options and seed folders per target.
options() {
  case $1 in
    fuzz_database) echo "-max_len=700000 -rss_limit_mb=2048 -timeout=20" ;;
    fuzz_query_writer) echo "-max_len=700000 -rss_limit_mb=2048 -timeout=30" ;;
    fuzz_sql | fuzz_query_decomposer) echo "-timeout=20 -dict=$root/fuzz/sql.dict" ;;
    *) echo "-timeout=20" ;;
  esac
}
seeds() {
  case $1 in
    fuzz_database | fuzz_query_writer) echo "$root/$build/fuzz/seeds" ;;
    fuzz_sql | fuzz_query_decomposer) echo "$root/fuzz/sql_seeds" ;;
  esac
}

# One target: fuzz, then (when asked) merge what it found into the corpus.
fuzz_one() {
  local t=$1 dir=$scratch/$1
  mkdir -p "$dir/new" "fuzz/corpus/$t"
  # shellcheck disable=SC2046
  (cd "$dir" && QT_QPA_PLATFORM=offscreen "$root/$build/fuzz/$t" $(options "$t") \
    -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/$t-" \
    new "$root/fuzz/corpus/$t" $(seeds "$t") >log 2>&1) || return 1
  if [ $update -eq 1 ]; then
    # shellcheck disable=SC2046
    (cd "$dir" && QT_QPA_PLATFORM=offscreen "$root/$build/fuzz/$t" $(options "$t") -merge=1 \
      "$root/fuzz/corpus/$t" new >merge.log 2>&1) || return 1
    # Whole database files would swell the repository: bigger inputs stay
    # out (the test databases they grow from are seeds anyway).
    find "fuzz/corpus/$t" -type f -size +"$corpus_kb"k -delete
  fi
}

declare -A pids
failed=0
report() {
  local t=$1 log=$scratch/$1/log
  if wait "${pids[$t]}"; then
    echo "$t: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') runs," \
      "$(grep -o 'cov: [0-9]*' "$log" | tail -n1 | grep -o '[0-9]*') edges," \
      "$(find "fuzz/corpus/$t" -type f | wc -l) inputs in the corpus, no findings"
  else
    failed=1
    echo "$t FAILED (inputs kept in $artifacts):"
    tail -n 60 "$log"
  fi
}
running=()
for t in "${targets[@]}"; do
  if [ ${#running[@]} -ge "$jobs" ]; then
    report "${running[0]}"
    running=("${running[@]:1}")
  fi
  fuzz_one "$t" &
  pids[$t]=$!
  running+=("$t")
done
for t in "${running[@]}"; do
  report "$t"
done
exit $failed
