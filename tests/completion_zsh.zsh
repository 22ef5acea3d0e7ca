# Prints, one per line, the candidates zsh's completion offers for LINE, with
# the completion function _zorvin from DIR: an interactive zsh in a
# pseudo-terminal types LINE and Tab, and compadd, wrapped, records each match
# it would add (after zsh's own matching) to a file.
# Usage: zsh -f completion_zsh.zsh DIR LINE
zmodload zsh/zpty || exit 2
dir=$1 line=$2
hits=$(mktemp) || exit 2
trap 'zpty -d z 2>/dev/null; rm -f $hits' EXIT

zpty -b z zsh -f -i || exit 2
zpty -w z "PS1='' PROMPT_EOL_MARK=''; unsetopt zle_bracketed_paste 2>/dev/null"
zpty -w z "fpath=(${(q)dir} \$fpath); autoload -Uz compinit; compinit -u -D"
zpty -w z "setopt no_auto_list no_auto_menu no_beep; zstyle ':completion:*' list-prompt ''"
# The matches of every call that adds them; calls that only ask (-O, -A, -D) pass.
zpty -w z "compadd() {
  if [[ \${@[1,(i)(-|--)]} == *-(O|A|D)\\ * ]]; then builtin compadd \"\$@\"; return; fi
  local -a __zorvin_hits
  builtin compadd -A __zorvin_hits \"\$@\"
  (( \$#__zorvin_hits )) && print -rl -- \$__zorvin_hits >>${(q)hits}
  builtin compadd \"\$@\"
}"
zpty -w -n z "$line"$'\t'
# After the completion, a fresh line that marks the end.
zpty -w z $'\C-a\C-k'"print -r -- __zorvin_done >>${(q)hits}"
for _ in {1..100}; do
  grep -qx __zorvin_done $hits && break
  sleep 0.1
done
grep -qx __zorvin_done $hits || { print -u2 "zsh did not finish completing '$line'"; exit 2 }
grep -vx __zorvin_done $hits | sort -u
