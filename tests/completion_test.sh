#!/bin/bash
# zorvin's completion scripts in the real shells: bash through its completion
# function and COMPREPLY (with Debian's bash-completion loaded), fish through
# complete -C, zsh through a pseudo-terminal (zpty) with its completion system
# loaded, capturing what completion offers. Each line offers exactly the
# candidates expected, in every shell.
# Usage: completion_test.sh COMPLETIONS_DIR
set -uo pipefail
dir=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
failures=0

bash_offers() {  # LINE
  bash --norc --noprofile -c '
    . /usr/share/bash-completion/bash_completion
    . "$1/zorvin"
    read -ra COMP_WORDS <<<"$2"
    [[ $2 == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$2 COMP_POINT=${#2}
    _zorvin zorvin "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
    printf "%s\n" "${COMPREPLY[@]}"' bash "$dir" "$1"
}

fish_offers() {  # LINE
  fish --no-config -c 'source $argv[1]/zorvin.fish; complete -C$argv[2]' "$dir" "$1" | cut -f1
}

zsh_offers() {  # LINE
  zsh -f "$here/completion_zsh.zsh" "$dir" "$1"
}

# Map sources are offered as files (zsh offers a file's last part).
maps=$here/maps
sp_d="sp_decoytown sp_decoytrenches sp_demolition sp_downtown_assault sp_downtown_sniper sp_duhoc_assault sp_duhoc_defend"
commands="apply check compare completion effects export find level levels light preview similar"
# A line typed so far (a trailing blank starts a new word), and the candidates.
cases=(
  "zorvin level sp_d|$sp_d"
  "zorvin level SP_D|$sp_d"
  "zorvin level sp_hill400_a|sp_hill400_assault"
  "zorvin level mp_x|"
  "zorvin level sp_rhine |"
  "zorvin effects Gr|Grenade_Effects Ground_Fire_Effects"
  "zorvin effects large|Large_Misc_Effects"
  "zorvin |$commands"
  "zorvin --lf le|level levels"
  "zorvin --|--color --crlf --help --lf --version"
  "zorvin levels --|--color --crlf --help --lf --list"
  "zorvin compare mp_toujane sp_d|$sp_d"
  "zorvin compare mp_toujane sp_rhine |"
  "zorvin light --format |json text"
  "zorvin similar --format |json text"
  "zorvin preview --|--color --crlf --help --lf --output --set --size"
  "zorvin --color |always auto never"
  "zorvin export --format |csv html json markdown"
  "zorvin export --format j|json"
  "zorvin completion |bash fish zsh"
  "zorvin find tun|"
  "zorvin level mp_toujane --format |block map"
  "zorvin level mp_toujane --format map --set |"
  "zorvin apply --|--all --color --crlf --dry-run --help --lf --no-backup --set"
  "zorvin apply mp_toujane $maps/li|$maps/lit.map"
  "zorvin apply mp_toujane $maps/lit.map $maps/bo|$maps/bom.map"
  "zorvin compare mp_toujane $maps/no_|$maps/no_worldspawn.map"
  "zorvin light $maps/bo|$maps/bom.map"
  "zorvin check --format |github json sarif text"
  "zorvin check --|--color --crlf --dry-run --effects --fix --format --help --lf --no-backup"
  "zorvin check $maps/lit.map $maps/bo|$maps/bom.map"
)

# Each shell's lines, and how many offer what they should; fails if any does not.
offers_all() {  # SHELL
  local shell=$1 passed=0 case line expected got
  for case in "${cases[@]}"; do
    line=${case%%|*}
    expected=$(tr ' ' '\n' <<<"${case#*|}" | sed '/^$/d' | LC_ALL=C sort)
    [ "$shell" = zsh ] && expected=$(sed 's|.*/||' <<<"$expected")
    got=$("${shell}_offers" "$line" | sed '/^$/d' | LC_ALL=C sort)
    if [ "$got" = "$expected" ]; then
      passed=$((passed + 1))
    else
      echo "FAIL: $shell: '$line' offers [$(echo $got)], not [$(echo $expected)]"
    fi
  done
  echo "$shell: $passed of ${#cases[@]} lines offer what they should"
  [ "$passed" -eq "${#cases[@]}" ]
}

# The three shells side by side (zsh, a second a line, takes longest), their
# reports in order.
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
pids=()
for shell in bash fish zsh; do
  offers_all "$shell" >"$out/$shell" 2>&1 &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || failures=$((failures + 1)); done
cat "$out/bash" "$out/fish" "$out/zsh"
[ "$failures" -eq 0 ]
