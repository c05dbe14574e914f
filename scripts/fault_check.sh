#!/usr/bin/env bash
# Measures what the tests catch: puts one-line faults into a scratch copy of
# the repository, one at a time, rebuilds it, runs the fast tests (labels unit
# and tool; with --e2e also the end-to-end scripts) and reverts the fault.
# Prints a table of caught / missed per fault and the share caught.
#
#   scripts/fault_check.sh [--e2e] [--check] [--faults FILE] [--only N[,N...]] [--rev REV] [--scratch DIR]
#
# --check only checks that every fault's text occurs once, without building;
# --rev measures the code and tests of a commit (e.g. main, for a "before"
# figure) instead of the working tree; the faults file is always the tree's.
# The faults are in scripts/faults.txt, one a line, four fields separated by
# tabs: the file, text that occurs exactly once in it, the text put in its
# place (may be empty; \n in either stands for a line break), and what the
# fault does. Lines starting with # and blank lines are skipped. A fault whose
# text is gone from its file (or now occurs more than once) is reported "n/a"
# and not counted, as is one that does not build ("nobuild"). An interrupted
# run leaves its fault in the copy; the next run copies the file back.
#
# The scratch copy (the tracked files of the working tree, uncommitted
# changes included) and its build live in build/faults/ unless --scratch says
# otherwise; the working tree itself is never changed. The scratch build is
# configured once and then built incrementally; with ccache installed it is
# used as the compiler launcher. Run it niced on a shared machine:
#   nice -n 19 scripts/fault_check.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

faults_file=$root/scripts/faults.txt
scratch=$root/build/faults
labels='unit|tool'
only=''
rev=''
check_only=0
while (($#)); do
  case $1 in
    --e2e) labels='unit|tool|e2e' ;;
    --check) check_only=1 ;;
    --faults) faults_file=$(realpath "$2"); shift ;;
    --only) only=",$2," ; shift ;;
    --rev) rev=$2; shift ;;
    --scratch) scratch=$(realpath -m "$2"); shift ;;
    *) echo "usage: $0 [--e2e] [--check] [--faults FILE] [--only N[,N...]] [--rev REV] [--scratch DIR]" >&2
       exit 2 ;;
  esac
  shift
done

src=$scratch/src
build=$scratch/build
log=$scratch/logs
report=$scratch/report.txt
# A hung test counts as a catch; this bounds the wait for one.
test_timeout=${FAULT_TEST_TIMEOUT:-120}

# How often the exact text occurs in the file (0 when the file is gone).
occurrences() {
  [ -f "$1" ] || { echo 0; return; }
  FAULT_TEXT=$2 perl -0777 -ne '$n = () = /\Q$ENV{FAULT_TEXT}\E/g; print $n' "$1"
}

# Replaces the one occurrence of the text.
replace_once() {
  FAULT_TEXT=$2 FAULT_NEW=$3 perl -0777 -pi -e 's/\Q$ENV{FAULT_TEXT}\E/$ENV{FAULT_NEW}/' "$1"
}

# Reads the fault list into parallel arrays, numbered from 1 in file order.
files=() olds=() news=() whats=()
while IFS= read -r line || [ -n "$line" ]; do
  [[ -z ${line//[[:space:]]/} || $line == \#* ]] && continue
  # Split by hand: read would merge the two tabs around an empty replacement.
  tab=$'\t' fields=${line//[^$'\t']/}
  file=${line%%"$tab"*} rest=${line#*"$tab"}
  old=${rest%%"$tab"*} rest=${rest#*"$tab"}
  new=${rest%%"$tab"*} what=${rest#*"$tab"}
  if [ ${#fields} != 3 ] || [ -z "$old" ] || [ -z "$what" ]; then
    echo "fault_check: malformed line (want file<TAB>text<TAB>replacement<TAB>description): $line" >&2
    exit 2
  fi
  # \n stands for a line break, so a fault can drop a whole line.
  files+=("$file") olds+=("${old//\\n/$'\n'}") news+=("${new//\\n/$'\n'}") whats+=("$what")
done <"$faults_file"

# The copy holds the files git knows of (untracked ones that are not ignored
# included), or with --rev those of that commit; only files that differ are
# copied, with a fresh time (an interrupted run's fault may be newer than
# the tree), so the build after a refresh is incremental yet complete.
# Files gone from the tree go.
mkdir -p "$src" "$log"
from=$root
if [ -n "$rev" ]; then
  from=$scratch/export
  rm -rf "$from" && mkdir -p "$from"
  (cd "$root" && git archive "$rev" | tar -x -C "$from")
  (cd "$root" && git ls-tree -r --name-only "$rev" | sort -u) >"$scratch/files.txt"
else
  (cd "$root" && git ls-files --cached --others --exclude-standard | sort -u) >"$scratch/files.txt"
fi
while IFS= read -r file; do
  [ -f "$from/$file" ] || continue
  if ! cmp -s "$from/$file" "$src/$file"; then
    mkdir -p "$(dirname "$src/$file")"
    cp "$from/$file" "$src/$file"
  fi
done <"$scratch/files.txt"
(cd "$src" && find . -type f -printf '%P\n' | sort) | comm -23 - "$scratch/files.txt" |
  while IFS= read -r gone; do rm -f "$src/$gone"; done

if ((check_only)); then
  bad=0
  for i in "${!files[@]}"; do
    n=$(occurrences "$src/${files[i]}" "${olds[i]}")
    if [ "$n" != 1 ]; then
      printf '%3d  %s: text occurs %s times: %s\n' $((i + 1)) "${files[i]}" "$n" "${olds[i]}"
      bad=1
    fi
  done
  echo "${#files[@]} faults checked"
  exit $bad
fi

if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
  export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
fi
# Every fault in base/ relinks every program: linking is most of a build.
link_flags=()
if command -v ld.lld >/dev/null; then
  link_flags=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)
fi
jobs=$(nproc)
if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "== configuring the scratch build in $build"
  cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIM_BENCH=OFF "${link_flags[@]}" \
    >"$log/configure.txt"
fi

build_it() { cmake --build "$build" -j"$jobs" >"$1" 2>&1; }
run_tests() {
  (cd "$build" && timeout $((test_timeout * 4)) ctest -L "$labels" -j"$jobs" --stop-on-failure \
    --timeout "$test_timeout" >"$1" 2>&1)
}

echo "== building and testing the copy without faults"
if ! build_it "$log/build-clean.txt"; then
  echo "fault_check: the copy does not build without faults; see $log/build-clean.txt" >&2
  exit 1
fi
if ! run_tests "$log/tests-clean.txt"; then
  echo "fault_check: tests fail without faults; see $log/tests-clean.txt" >&2
  exit 1
fi

caught=0 missed=0 skipped=0 by=
: >"$report"
row() { printf '%3s  %-8s %-32s %s\n' "$@" | tee -a "$report"; }
row '#' result file fault
for i in "${!files[@]}"; do
  number=$((i + 1))
  [ -n "$only" ] && [[ $only != *",$number,"* ]] && continue
  target=$src/${files[i]}
  if [ "$(occurrences "$target" "${olds[i]}")" != 1 ]; then
    row "$number" n/a "${files[i]}" "${whats[i]}"
    skipped=$((skipped + 1))
    continue
  fi
  cp -p "$target" "$scratch/original"
  replace_once "$target" "${olds[i]}" "${news[i]}"
  if ! build_it "$log/build-$number.txt"; then
    result=nobuild
    skipped=$((skipped + 1))
  elif run_tests "$log/tests-$number.txt"; then
    result=MISSED
    missed=$((missed + 1))
  else
    result=caught
    caught=$((caught + 1))
    # The tests that failed before the run stopped, to see which test bites.
    by=$(sed -n 's/  # GetParam() = [^(]*/ /; s/^[[:space:]]*[0-9]* - \(.*\) ([A-Za-z ]*)$/\1/p' \
      "$log/tests-$number.txt" | paste -sd ' ')
  fi
  # The original back with a fresh time, so the next build recompiles it.
  cp "$scratch/original" "$target"
  row "$number" "$result" "${files[i]}" "${whats[i]}${by:+ [by $by]}"
  by=
done

counted=$((caught + missed))
share=$(awk -v c=$caught -v n=$counted 'BEGIN { if (n) printf "%.1f%%", 100 * c / n; else print "-" }')
echo "caught $caught of $counted ($share), missed $missed, not counted $skipped; tests: $labels" |
  tee -a "$report"
echo "== table in $report, build and test logs in $log"
