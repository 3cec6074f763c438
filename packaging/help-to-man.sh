#!/usr/bin/env bash
# Writes a program's manual page from its own --help and --version, so the page cannot drift
# from the program:
#   help-to-man.sh PROGRAM OUTPUT.1.gz
#
# The --help text is read as: a first line "name - what it does"; headings at the left margin
# ending in ':' ("Usage:" becomes the synopsis); entries indented by two spaces, the term and its
# description separated by two or more spaces; deeper-indented lines continuing the description,
# or, when they start with the program's name, examples; other lines at the left margin are
# paragraphs.
set -euo pipefail
program=$1
output=$2
name=$(basename "$program")
version=$("$program" --version | head -n 1)

"$program" --help | awk -v name="$name" -v version="$version" '
function esc(s) {
  gsub(/\\/, "\\e", s); gsub(/-/, "\\-", s)
  if (s ~ /^[.\047]/) s = "\\&" s
  return s
}
function endExamples() { if (inExamples) { print ".fi"; print ".RE"; inExamples = 0 } }
function example(s) {
  if (!inExamples) { print ".RS 9"; print ".nf"; inExamples = 1 }
  print esc(s)
}
function describe(s,   d, x) {
  # A description may end in an example set apart by two or more spaces.
  if (match(s, "  +" name " ")) {
    d = substr(s, 1, RSTART - 1); x = substr(s, RSTART); sub(/^ +/, "", x)
    if (d != "") print esc(d)
    example(x)
  } else if (s != "") print esc(s)
}
NR == 1 {
  split($0, head, / - /)
  print ".TH " toupper(name) " 1 \"\" \"" esc(version) "\" \"User Commands\""
  print ".SH NAME"
  print esc(head[1]) " \\- " esc(substr($0, length(head[1]) + 4))
  next
}
/^$/ { endExamples(); paragraph = 0; next }
/^[^ ].*:$/ {
  endExamples(); paragraph = 0
  title = $0; sub(/:$/, "", title); note = ""
  if (match(title, / \(.*\)$/)) { note = substr(title, RSTART + 2, RLENGTH - 3); title = substr(title, 1, RSTART - 1) }
  print ".SH " (title == "Usage" ? "SYNOPSIS" : toupper(esc(title)))
  if (note != "") { print ".PP"; print esc(toupper(substr(note, 1, 1)) substr(note, 2)) "." }
  next
}
/^  [^ ]/ {
  endExamples(); paragraph = 0
  line = substr($0, 3)
  if (match(line, /  +/)) { term = substr(line, 1, RSTART - 1); rest = substr(line, RSTART + RLENGTH) }
  else { term = line; rest = "" }
  print ".TP"; print "\\fB" esc(term) "\\fR"
  describe(rest)
  next
}
/^   / {
  line = $0; sub(/^ +/, "", line)
  if (index(line, name " ") == 1) example(line)
  else { endExamples(); describe(line) }
  next
}
{
  endExamples()
  if (!paragraph) print (notes++ ? ".PP" : ".SH NOTES")
  paragraph = 1
  print esc($0)
}
END { endExamples() }
' | gzip -9n >"$output"
