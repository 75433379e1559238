#!/bin/sh
# Runs the resource compiler and fails when it prints anything. windres has no
# switch that turns its warnings into errors, and a warning there usually
# means a text that does not come out as written.
#   windres-strict.sh WINDRES ARGS...
output=$("$@" 2>&1)
status=$?
[ -n "$output" ] && printf '%s\n' "$output" >&2
[ "$status" -ne 0 ] && exit "$status"
[ -z "$output" ]
