# The bash completion is bound to kestrova and completes the command words ("ope" to open and
# openbk, every word of the command table to itself) and file names after open.
set -euo pipefail
root=$1
source "$(dirname "$0")/command_words.sh"
words=$(command_words "$root")
source "$root/doc/kestrova.bash-completion"
directory=$(mktemp -d)
trap 'rm -rf "$directory"' EXIT
cd "$directory"
touch "my games.pgn" opening.epd

# The candidates for the last word of a command line, one a line.
candidates() {
  read -ra COMP_WORDS <<<"$1"
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _kestrova
  printf '%s\n' "${COMPREPLY[@]}" | sort
}

status=0
expect() {
  [ "$(candidates "$1")" == "$2" ] || { echo "'$1' gives [$(candidates "$1" | paste -sd,)], not [${2//$'\n'/,}]"; status=1; }
}
[ "$(complete -p kestrova)" == "complete -F _kestrova kestrova" ] || { echo "not bound: $(complete -p kestrova)"; status=1; }
expect "kestrova ope" $'open\nopenbk'
expect "kestrova open my" "my games.pgn"
expect "kestrova open games.pgn sc" "scan"
for word in $words; do
  candidates "kestrova open x.pgn $word" | grep -qx "$word" || { echo "$word is not completed"; status=1; }
done
exit $status
