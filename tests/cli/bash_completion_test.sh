#!/bin/bash
# The bash completion of tarvix-design, sourced into bash with
# bash-completion's own functions, as an interactive shell would load it.
# Usage: bash_completion_test.sh BASH_COMPLETION COMPLETION_FILE PROGRAM_DIR
set -u
source "$1"
source "$2"
PATH="$3:$PATH"

# Completes the last word of a command line; prints what is offered.
offered() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _tarvix_design tarvix-design "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    echo "${COMPREPLY[*]}"
}

failures=0
expect() {
    local want=$1
    shift
    local got
    got=$(offered "$@")
    if [[ $got != "$want" ]]; then
        echo "completing '$*' offered '$got', expected '$want'"
        failures=$((failures + 1))
    fi
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
touch dipole.nec

expect "--freq" tarvix-design --fr
expect "--coil-swg" tarvix-design --freq 7 --coil-s
expect "" tarvix-design --freq ""
expect "dipole.nec" tarvix-design --freq 7 --nec di
touch sheet.pdf notes.txt
expect "sheet.pdf" tarvix-design --simulate --sheet ""

# An option the completion has never seen, from a program's help.
mkdir newer
printf '#!/bin/sh\necho "  --plot FILE   plot the design"\n' >newer/tarvix-design
chmod +x newer/tarvix-design
PATH="$scratch/newer:$PATH"
expect "--plot" tarvix-design --pl

exit $((failures > 0))
