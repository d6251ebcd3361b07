#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# zelto --replay FILE --verify on files that cannot be replayed whole, as a person meets them: a
# missing file, a file that is no recording, one cut within its header, one of another program
# version, one damaged within its entries, one made with another data set each end with exit
# code 1 and one line on the error stream; a recording cut in the middle replays up to its last
# whole picture, says so and ends with 0; a command line it does not understand ends with 2.
# Arguments: the program, a golden game, and the data folder it was recorded with.
set -u
game="$1"
golden="$2"
data="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

# replay EXPECTED_CODE FILE [OPTIONS...]: runs the verification in the data folder and checks
# the exit code and, for a refusal, that one line says what is wrong.
replay() {
    local expected="$1" file="$2"
    shift 2
    (cd "$data" && env -u DISPLAY "$game" --replay "$file" --verify "$@" >"$work/out" 2>"$work/err")
    code=$?
    err=$(cat "$work/err")
    [ "$code" -eq "$expected" ] || fail "$file ended with $code, not $expected: $err"
    if [ "$expected" -eq 1 ] && [ "$(wc -l <"$work/err")" -ne 1 ]; then
        fail "$file: not one line on the error stream: $err"
    fi
}

replay 1 "$work/missing.zrec"
[[ "$err" == *"cannot open the recording"* ]] || fail "missing file: $err"

printf 'BM not a recording' >"$work/picture.zrec"
replay 1 "$work/picture.zrec"
[[ "$err" == *"not a recording of this program"* ]] || fail "no recording: $err"

head -c 12 "$golden" >"$work/header.zrec"
replay 1 "$work/header.zrec"
[[ "$err" == *"cut short within its header"* ]] || fail "cut header: $err"

# The version is kept as text near the start; another of the same length.
version=$("$game" --version | cut -d' ' -f2)
other=$(echo "$version" | tr '0-9' '1-90')
LC_ALL=C sed "s/$version/$other/" "$golden" >"$work/other_version.zrec"
replay 1 "$work/other_version.zrec"
[[ "$err" == *"made by zelto $other"* ]] || fail "other version: $err"

size=$(stat -c %s "$golden")
cp "$golden" "$work/damaged.zrec"
printf '\xff\xff\xff\xff\xff\xff\xff\xff' |
    dd of="$work/damaged.zrec" bs=1 seek=$((size / 2)) conv=notrunc status=none
replay 1 "$work/damaged.zrec"
[[ "$err" == *"damaged"* ]] || fail "damaged: $err"

mkdir "$work/data"
cp "$data"/*.BMP "$data"/*.WAV "$data"/*.FMP "$work/data/"
printf 'x' >>"$work/data/HUD.BMP"
replay 1 "$golden" --data "$work/data"
[[ "$err" == *"another data set"* ]] || fail "another data set: $err"

head -c $((size / 2)) "$golden" >"$work/cut.zrec"
replay 0 "$work/cut.zrec"
[[ "$(cat "$work/out")" == *"replayed as recorded; the recording is cut short after frame"* ]] ||
    fail "cut recording: $(cat "$work/out")"

for wrong in "--replay" "--verify" "--record x --replay y"; do
    # shellcheck disable=SC2086
    env -u DISPLAY "$game" $wrong >/dev/null 2>&1
    code=$?
    [ "$code" -eq 2 ] || fail "'$wrong' ended with $code, not 2"
done
exit $status
