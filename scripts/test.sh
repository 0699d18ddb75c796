#!/usr/bin/env bash
# Runs every test: the platform-free code natively with sanitizers, then the Windows
# build under Wine, then the release build's checks. Installs what it needs first.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build_root=${TESSERIN_BUILD_ROOT:-$root/build}

"$root/scripts/setup.sh" || exit 1
"$root/scripts/build.sh" native || exit 1
"$root/scripts/build.sh" win64 || exit 1
"$root/scripts/build.sh" win32 || exit 1

# shellcheck source=wine-env.sh
. "$root/scripts/wine-env.sh"
wine_env_start
trap wine_env_stop EXIT

passed=0
failed=0
count() {  # adds the counts of a ctest log to the totals
  local log=$1 line p f
  line=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$log" | tail -n 1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  p=$(( $(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line") - f ))
  passed=$((passed + p))
  failed=$((failed + f))
}

echo "== native tests"
(cd "$build_root/native" && ctest --output-on-failure) | tee "$build_root/native-tests.log"
count "$build_root/native-tests.log"

echo "== Windows tests under Wine"
(cd "$build_root/win64" && ctest --output-on-failure) | tee "$build_root/wine-tests.log"
count "$build_root/wine-tests.log"

echo "== release checks"
if "$root/scripts/check-release.sh" "$root/dist"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

echo
echo "Total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
