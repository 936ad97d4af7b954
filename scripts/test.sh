#!/usr/bin/env bash
# Installs what is missing, builds, and runs every check, each stage timed: the format; the
# GCC build; the core, widget and end-to-end tests; one clang build with AddressSanitizer and
# UndefinedBehaviorSanitizer that serves three stages: every test but the end-to-end ones
# again under the sanitizers (the benchmarks built there too), the fuzz targets' kept corpora
# replayed and each target fuzzed for ZL_FUZZ_SECONDS (default 10) s, and clang-tidy with that
# build's compile commands.
# The clang stages run beside the GCC build and the tests, at the lowest priority (ZL_SERIAL=1:
# after them). Each stage writes its log to build-logs/<stage>.log (ZL_LOG_DIR), printed when
# the stage fails; a table of the stages' times ends the run, which fails when any stage did.
# With arguments, only the tests run and the arguments go to ctest (e.g. -L core).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 0 ]; then
  scripts/install_packages.sh
else
  scripts/install_packages.sh --checks
fi

run_tests() {
  # A short folder of its own, whatever TMPDIR says: the tests put Unix sockets in it, whose
  # paths may not exceed 107 bytes.
  local work status=0
  work=$(mktemp -d /tmp/zl_test.XXXXXX)
  chmod 700 "$work"
  XDG_RUNTIME_DIR="$work" TMPDIR="$work" ctest --preset default -j"$(nproc)" "$@" || status=$?
  rm -rf "$work"
  return $status
}

if [ $# -gt 0 ]; then
  scripts/build.sh
  run_tests "$@"
  exit 0
fi

logs=${ZL_LOG_DIR:-$PWD/build-logs}
rm -rf "$logs"
mkdir -p "$logs"
run_start=$(date +%s)

# stage_body name command...: runs the command with its output in the stage's log, then
# leaves "<start> <seconds> <cpu seconds> <status>" in <stage>.result. Run in a subshell, so
# that `times` counts this stage's processes alone.
stage_body() {
  local name=$1 start status=0 cpu
  shift
  start=$(date +%s)
  "$@" >"$logs/$name.log" 2>&1 </dev/null || status=$?
  # The second line of `times`: the user and system time of this stage's processes.
  times >"$logs/$name.times"
  cpu=$(awk 'NR == 2 { for (i = 1; i <= NF; i++) { split($i, part, "m"); total += part[1] * 60 + part[2] } }
      END { printf "%.0f", total }' "$logs/$name.times")
  echo "$((start - run_start)) $(($(date +%s) - start)) $cpu $status" >"$logs/$name.result"
}
outcome() { # name: passed, skipped or FAILED, and the time
  local start seconds cpu status
  read -r start seconds cpu status <"$logs/$1.result"
  case $status in
    0) echo "passed in $seconds s" ;;
    skipped) echo "skipped" ;;
    *) echo "FAILED (exit status $status) in $seconds s" ;;
  esac
}
passed() { [ "$(awk '{print $4}' "$logs/$1.result")" = 0 ]; }
print_failure() { # name: the end of a failed stage's log
  echo "== $1: $(outcome "$1"); the end of $logs/$1.log:"
  tail -n 300 "$logs/$1.log" | sed "s/^/$1| /"
  echo "== $1: FAILED"
}
stage() { # name command...: a stage in the foreground
  echo "== $1 ..."
  (stage_body "$@")
  if passed "$1"; then echo "== $1: $(outcome "$1")"; else print_failure "$1"; fi
}
skip() { # name reason
  echo "== $1: skipped, $2"
  echo "0 0 0 skipped" >"$logs/$1.result"
}

# The clang stages, one after another, at the lowest priority: beside them the GCC build keeps
# its speed and the end-to-end scenarios their timing (they mostly wait on Xvfb and timers), and
# the clang stages take what is left of the cores. Their logs are printed at the end.
clang_stage() { # name command...
  (stage_body "$1" nice -n 19 "${@:2}")
  echo "== $1: $(outcome "$1")"
}
clang_stages() {
  clang_stage clang-build scripts/sanitize.sh --build-only
  if passed clang-build; then
    clang_stage sanitizers scripts/sanitize.sh
    clang_stage fuzz scripts/fuzz.sh --preset sanitize "${ZL_FUZZ_SECONDS:-10}"
    clang_stage clang-tidy scripts/tidy.sh sanitize
  else
    for name in sanitizers fuzz clang-tidy; do skip "$name" "the clang build failed"; done
  fi
}

stage format scripts/format.sh
# ZL_SERIAL=1 runs the clang stages after the tests, not beside them (to tell whether a
# timing in an end-to-end scenario suffers from them).
clang_pid=
if [ "${ZL_SERIAL:-0}" != 1 ]; then
  echo "== clang-build, sanitizers, fuzz, clang-tidy ... (beside the build and the tests)"
  clang_stages &
  clang_pid=$!
fi
stage build scripts/build.sh
if passed build; then
  stage tests run_tests
else
  skip tests "the build failed"
fi
if [ -n "$clang_pid" ]; then
  wait "$clang_pid" || true
else
  clang_stages
fi

stages=(format build tests clang-build sanitizers fuzz clang-tidy)
failed=()
for name in "${stages[@]}"; do
  passed "$name" || failed+=("$name")
done
for name in clang-build sanitizers fuzz clang-tidy; do
  if ! passed "$name" && [ "$(outcome "$name")" != skipped ]; then
    print_failure "$name"
  fi
done

echo
printf '%-12s %6s %8s %8s  %s\n' stage start wall cpu result
for name in "${stages[@]}"; do
  read -r start seconds cpu status <"$logs/$name.result"
  case $status in
    0) result=passed ;;
    skipped) result=skipped ;;
    *) result=FAILED ;;
  esac
  printf '%-12s %4d:%02d %6d s %6d s  %s\n' "$name" $((start / 60)) $((start % 60)) "$seconds" "$cpu" "$result"
done
total=$(($(date +%s) - run_start))
if [ ${#failed[@]} -gt 0 ]; then
  echo "== FAILED: ${failed[*]} (logs in $logs); $total s"
  exit 1
fi
echo "== all checks passed in $total s"
