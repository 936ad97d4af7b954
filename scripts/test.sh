#!/usr/bin/env bash
# Installs what is missing, builds, and runs every check, each stage timed: the format; the
# GCC build; the core, widget and end-to-end tests; one clang build with AddressSanitizer and
# UndefinedBehaviorSanitizer that serves three stages: every test but the end-to-end ones
# again under the sanitizers (the benchmarks built there too), the fuzz targets' kept corpora
# replayed and each target fuzzed for ZL_FUZZ_SECONDS (default 10) s, and clang-tidy with that
# build's compile commands.
# The end-to-end scenarios run one at a time and mostly wait (Xvfb, timers), so the clang
# stages run beside the tests, at the lowest priority (ZL_SERIAL=1: after them). Each stage writes its log to
# build-logs/<stage>.log (ZL_LOG_DIR), printed when the stage fails; a table of the stages'
# times ends the run, which fails when any stage failed.
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
stage_report() { # name: prints how the stage ended, its log when it failed; fails with it
  local name=$1 start seconds cpu status
  read -r start seconds cpu status <"$logs/$name.result"
  if [ "$status" -eq 0 ]; then
    echo "== $name: passed in $seconds s"
    return 0
  fi
  echo "== $name: FAILED (exit status $status) in $seconds s; the end of $logs/$name.log:"
  tail -n 300 "$logs/$name.log" | sed "s/^/$name| /"
  echo "== $name: FAILED"
  return 1
}
failed=()
stage() { # name command...: a stage in the foreground
  local name=$1
  echo "== $name ..."
  (stage_body "$@")
  stage_report "$name" || failed+=("$name")
}
skip() { # name reason
  echo "== $1: skipped, $2"
  echo "0 0 0 skipped" >"$logs/$1.result"
  failed+=("$1")
}
passed() { [ "$(awk '{print $4}' "$logs/$1.result")" = 0 ]; }

stage format scripts/format.sh
stage build scripts/build.sh

tests_pid=
if passed build; then
  echo "== tests ... (beside the clang stages)"
  (stage_body tests run_tests) &
  tests_pid=$!
else
  skip tests "the build failed"
fi

# ZL_SERIAL=1 runs the clang stages after the tests, not beside them (to tell whether a
# timing in an end-to-end scenario suffers from them).
if [ "${ZL_SERIAL:-0}" = 1 ] && [ -n "$tests_pid" ]; then
  wait "$tests_pid" || true
fi
# At the lowest priority: the end-to-end scenarios keep their timing, the clang stages take
# what is left of the cores.
stage clang-build nice -n 19 scripts/sanitize.sh --build-only
if passed clang-build; then
  stage sanitizers nice -n 19 scripts/sanitize.sh
  stage fuzz nice -n 19 scripts/fuzz.sh --preset sanitize "${ZL_FUZZ_SECONDS:-10}"
  stage clang-tidy nice -n 19 scripts/tidy.sh sanitize
else
  skip sanitizers "the clang build failed"
  skip fuzz "the clang build failed"
  skip clang-tidy "the clang build failed"
fi

if [ -n "$tests_pid" ]; then
  wait "$tests_pid" 2>/dev/null || true
  stage_report tests || failed+=(tests)
fi

echo
printf '%-12s %6s %8s %8s  %s\n' stage start wall cpu result
for name in format build tests clang-build sanitizers fuzz clang-tidy; do
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
