#!/usr/bin/env bash
# Usage: check_completion.sh COMPLETION VARNOK_DAT
# Sources the bash completion script and completes as a person would at the
# prompt: a command from its first letters, and every option that each
# command's own --help names, so that a command or option added to the program
# without reaching the completion fails here.
set -uo pipefail
script=$1
program=$2

fail() {
    echo "check_completion: $*" >&2
    exit 1
}

# shellcheck source=/dev/null
source "$script" || fail "$script does not load in bash"
[ "$(complete -p varnok-dat 2>/dev/null)" = "complete -F _varnok_dat varnok-dat" ] ||
    fail "$script does not register a completion for varnok-dat"

# complete WORD... : the completions of the last word on the line "varnok-dat WORD...".
complete_line() {
    COMP_WORDS=(varnok-dat "$@")
    COMP_CWORD=$#
    COMP_LINE="varnok-dat $*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _varnok_dat
    printf '%s\n' "${COMPREPLY[@]}"
}

[ "$(complete_line li)" = list ] || fail "'varnok-dat li' completes to '$(complete_line li)', not list"
[ "$(complete_line --ver)" = --version ] || fail "'varnok-dat --ver' does not complete to --version"
[ -z "$(complete_line de)" ] || fail "the hidden describe-commands is offered"
[ "$(complete_line to-bmp x.s16 --ic)" = --icon ] || fail "'varnok-dat to-bmp x.s16 --ic' does not complete to --icon"
# A number is typed, not a file name; other arguments are files.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
touch "$work/KELPAR.dat"
[ -z "$(complete_line to-bmp x.s16 --icon '')" ] || fail "'--icon' offers completions for its number"
[ "$(complete_line list "$work/KEL")" = "$work/KELPAR.dat" ] || fail "'varnok-dat list' does not complete a file name"

# Every command --help lists, and every option each command's --help names.
commands=$("$program" --help | sed -n '/^Subcommands:/,$p' | awk 'NR > 1 && $1 != "" {print $1}')
[ -n "$commands" ] || fail "$program --help lists no commands"
count=0
for command in $commands; do
    complete_line "${command:0:3}" | grep -x -- "$command" >/dev/null || fail "'varnok-dat ${command:0:3}' does not offer $command"
    offered=$(complete_line "$command" -)
    # The options section ends at the first blank line; the footer below it may name other commands' options.
    options=$("$program" "$command" --help | sed -n '/^Options:/,/^$/p' | grep -oE -- '(^|[ ,])--?[A-Za-z0-9][A-Za-z0-9-]*' |
        tr -d ' ,' | sort -u)
    for option in $options; do
        grep -qx -- "$option" <<<"$offered" || fail "'varnok-dat $command -' does not offer $option"
        count=$((count + 1))
    done
done
echo "check_completion: $(wc -w <<<"$commands") commands and $count options complete"
