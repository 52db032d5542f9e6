# The command words of the program's command table, one a line, for the tests of this folder; fails
# when they are not as many as the table declares.
command_words() {
  local table=$1/src/shell/command_table.cpp
  local size words
  size=$(grep -oP 'std::array<CommandEntry, \K[0-9]+' "$table")
  words=$(grep -oP '^\s+\{"\K[a-z]+(?=", handle)' "$table")
  [ "$(wc -l <<<"$words")" -eq "$size" ] || { echo "read $(wc -l <<<"$words") words of $size from $table" >&2; return 1; }
  echo "$words"
}
