#!/bin/sh
# The test emulator where the machine cannot run the target's programs: it says why, on both
# output streams (a test may keep only one), and fails. Tests that see "cannot run on this
# machine" report themselves as skipped.
#   cannot_run.sh <why> <program> [arguments...]
why=$1
shift
echo "${why}; not running $*"
echo "${why}; not running $*" >&2
exit 1
