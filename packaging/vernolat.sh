#!/bin/sh
# Starts Vernolat on the grower's own base: makes the per-user working directory, writes the
# default base there only when none exists, and starts the program in it. Installed as
# /usr/bin/vernolat; ./run starts the build tree's programs through it.
set -eu

# The program and the base writer: in ../lib/vernolat beside wherever this script lies, so
# that an unpacked package works from any root; ./run names its build directory instead.
programs="${VERNOLAT_PROGRAMS:-$(dirname "$(readlink -f "$0")")/../lib/vernolat}"

work="${XDG_DATA_HOME:-$HOME/.local/share}/vernolat"
mkdir -p "$work"
# Never overwrite a grower's data: the default base is written only where none exists.
if [ ! -e "$work/base.mdb" ]; then
    "$programs/makebase" "$work/base.mdb"
fi
cd "$work"
exec "$programs/vernolat"
