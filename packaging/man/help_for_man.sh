#!/bin/sh
# Runs a program for help2man, writing the further "Usage:" lines of its help
# in the "or:" form help2man reads as more synopsis lines.
prog="$1"; shift
name="$(basename "$prog")"
"$prog" "$@" | sed -E "s/^ +($name )/  or:  \\1/"
