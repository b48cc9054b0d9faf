#!/bin/sh
# Writes vigil's manual page: the template with its @COMMANDS@ line replaced by each command's own
# --help, so the page lists the options the program takes. Usage: vigil-manpage.sh VIGIL TEMPLATE OUT
set -eu
vigil=$1 template=$2 out=$3
# The help in English, whatever the build machine's locale (--lang below says it again).
export LC_ALL=C.UTF-8 VIGIL_LANG=en

# Help text as roff: kept as printed (no filling), backslashes and leading dots escaped.
as_roff() {
    printf '.nf\n'
    sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/" -e 's/-/\\-/g'
    printf '.fi\n'
}

commands() {
    "$vigil" --lang en --help | awk '/^commands:/ { listed = 1; next } listed && /^  [a-z]/ { print $1 }'
}

{
    sed '/^@COMMANDS@$/,$d' "$template"
    for command in $(commands); do
        printf '.SS %s\n' "$command"
        "$vigil" --lang en "$command" --help | as_roff
    done
    sed '1,/^@COMMANDS@$/d' "$template"
} > "$out.tmp"
mv "$out.tmp" "$out"
