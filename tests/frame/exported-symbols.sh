#!/bin/bash
# The module's dynamic symbol table against the list of what it must export.
# usage: exported-symbols.sh MODULE REQUIRED_LIST
set -u
MODULE=$1
REQUIRED=$2
# Members of the moniker's key vector that the listed ones pull in; which of
# them stay out of line depends on the optimisation level.
VECTOR_MEMBER='^_ZNK?St6vectorIN5Korvu7Moniker12KeyComponentESaIS2_EE'

actual=$(nm -D --defined-only "$MODULE" | awk 'NF == 3 { print $3 }' | sort -u)
[ -n "$actual" ] || { echo "FAIL no dynamic symbols read from $MODULE"; exit 1; }
required=$(grep -v '^#' "$REQUIRED" | sed '/^$/d' | sort -u)

missing=$(comm -23 <(echo "$required") <(echo "$actual"))
extra=$(comm -13 <(echo "$required") <(echo "$actual") | grep -Ev "$VECTOR_MEMBER")
status=0
if [ -n "$missing" ]; then
  echo "FAIL not exported:"; echo "$missing" | c++filt | sed 's/^/    /'; status=1
fi
if [ -n "$extra" ]; then
  echo "FAIL exported but not promised:"; echo "$extra" | c++filt | sed 's/^/    /'; status=1
fi
[ "$status" -eq 0 ] && echo "PASS $(echo "$actual" | wc -l) symbols exported as promised"
exit $status
