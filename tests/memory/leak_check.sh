#!/bin/sh
# leak_check.sh <octave-cli> <octave code>
# Runs the code in Octave with modules built with AddressSanitizer (its
# runtime preloaded by the caller) and LeakSanitizer on at exit, and fails if
# any leaked block was allocated during a module call. Octave leaks blocks of
# its own at exit; those are told apart by their stacks: a block a module
# allocated was allocated from a frame of the module (unloaded by then, so
# shown as an unknown module) or has the host's MEX call on its stack. Deeper
# unknown frames are left alone: they are where the unwinder lost its way in
# Octave's own code.
set -eu
octave=$1
code=$2
# The sanitizer runtimes are for Octave alone, not for the tools used here.
preload=${LD_PRELOAD:-}
unset LD_PRELOAD
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

LD_PRELOAD=$preload ASAN_OPTIONS="detect_leaks=1:exitcode=0:log_path=$logs/lsan" \
    "$octave" --norc --no-window-system --eval "$code"

# One leak record per paragraph; keep those with a module's frame.
ours=$(cat "$logs"/lsan.* 2>/dev/null |
       awk -v RS= '/(Direct|Indirect) leak/ && /(#1 [^\n]*(<unknown module>|\.mex\+)|call_mex)/' || true)
if [ -n "$ours" ]; then
    printf 'Blocks leaked by module calls:\n%s\n' "$ours"
    exit 1
fi
echo "leak check: no block leaked by a module call"
