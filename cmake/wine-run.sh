#!/usr/bin/env bash
# Runs a cross-built test program under wine. A run that wine keeps from ending (its
# background programs can hold the output open when they were started by this run) is cut
# after 60 s and tried once more, saying so.
for attempt in 1 2; do
    timeout 60 wine "$@"
    status=$?
    [ "$status" -ne 124 ] && exit "$status"
    echo "wine-run: $1 did not end within 60 s (attempt $attempt)" >&2
done
exit 124
