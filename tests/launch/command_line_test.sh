#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The program's options, as a person types them: --help and --version answer on the standard
# output with exit code 0 (not 0 when it cannot be written), anything not understood is refused
# on the error stream with the usage and exit code 2, without echoing a long argument whole, and
# a --data folder that does not exist is refused the same way; a file named by --replay is found
# from the folder the program starts in. None of these opens a window.
set -u
game="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The user's own settings play no part.
export XDG_CONFIG_HOME="$work/config"
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

# run ARGUMENTS...: the exit code in code, the streams in out and err.
run() {
    env -u DISPLAY "$game" "$@" >"$work/out" 2>"$work/err"
    code=$?
    out=$(cat "$work/out")
    err=$(cat "$work/err")
}

for help in --help -h; do
    run "$help"
    [ "$code" -eq 0 ] || fail "$help ended with $code"
    [[ "$out" == "usage: zelto "* ]] || fail "$help printed no usage: $out"
    for option in --window "--data DIR" --version; do
        [[ "$out" == *"$option"* ]] || fail "$help does not name $option"
    done
    [ -z "$err" ] || fail "$help wrote to the error stream: $err"
done

for version in --version -v -V; do
    run "$version"
    [ "$code" -eq 0 ] || fail "$version ended with $code"
    [[ "$out" =~ ^zelto\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "$version printed: $out"
done

# An answer that cannot be written is no answer: a script must not take it for one.
for answer in --help --version; do
    env -u DISPLAY "$game" "$answer" >/dev/full 2>"$work/err"
    code=$?
    [ "$code" -ne 0 ] || fail "$answer into a full disk ended with 0"
    grep -q "cannot write" "$work/err" || fail "$answer into a full disk said: $(cat "$work/err")"
done

# An argument as long as the system allows is not echoed back whole.
long=$(printf 'x%.0s' $(seq 5000))
run --window "--$long"
[ "$code" -eq 2 ] || fail "a long unknown option ended with $code, not 2"
[ "$(head -n 1 "$work/err" | wc -c)" -lt 300 ] || fail "a long unknown option was echoed whole"
run --data "$work/$long"
[ "$code" -eq 2 ] || fail "a long missing --data folder ended with $code, not 2"
[ "$(wc -c <"$work/err")" -lt 400 ] || fail "a long --data folder was echoed whole"

for wrong in --full-screen -x extra --data; do
    run --window "$wrong"
    [ "$code" -eq 2 ] || fail "'$wrong' ended with $code, not 2"
    [ -z "$out" ] || fail "'$wrong' wrote to the standard output: $out"
    [[ "$err" == "zelto: "*"usage: zelto "* ]] || fail "'$wrong' was refused without usage: $err"
done

run --data "$work/no such folder"
[ "$code" -eq 2 ] || fail "a missing --data folder ended with $code, not 2"
[[ "$err" == *"no such folder"* ]] || fail "a missing --data folder was not named: $err"

# A file named on the command line is found from the folder the program was started in, not
# from the data folder it reads its files in: this one is no recording, and says so.
mkdir "$work/start"
printf 'no recording' >"$work/start/game.zrec"
cd "$work/start" || exit 1
run --replay game.zrec --verify
cd - >/dev/null || exit 1
[ "$code" -eq 1 ] || fail "a replay of a file that is no recording ended with $code, not 1"
[[ "$err" == *"not a recording"* ]] || fail "the file in the start folder was not read: $err"

[ $status -eq 0 ] && echo "options behave as documented"
exit $status
