# The manual page renders without a warning of groff's, has the sections a reader looks for, and
# lists every command word of the command table in its COMMANDS section.
set -euo pipefail
root=$1
source "$(dirname "$0")/command_words.sh"
words=$(command_words "$root")
page=$root/doc/kestrova.1
warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "$warnings"; exit 1; }
text=$(MANWIDTH=80 man -l "$page")
status=0
for section in NAME SYNOPSIS DESCRIPTION COMMANDS OPTIONS FILES "EXIT STATUS" ENVIRONMENT "SEE ALSO"; do
  grep -qx "$section" <<<"$text" || { echo "no section $section"; status=1; }
done
commands=$(sed -n '/^COMMANDS$/,/^OPTIONS$/p' <<<"$text")
for word in $words; do
  grep -qE "^ +$word( |$)" <<<"$commands" || { echo "COMMANDS lacks $word"; status=1; }
done
exit $status
