#!/bin/sh
# Stands in for the host's browser or mail program under Wine: appends the
# address it is handed (after the log file's path) to the log.
printf '%s\n' "$2" >> "$1"
