#!/usr/bin/env bash
# The program is built hardened, as read from its ELF headers: a position-independent
# executable (type DYN, flagged PIE), its relocations bound at start (BIND_NOW) and then made
# read-only (a GNU_RELRO segment), stack guards and fortified library calls among its imports.
set -u
program=$1
fail() { echo "$program: $*"; exit 1; }
[ -f "$program" ] || fail "no such program"

header=$(readelf --file-header "$program") || fail "not an ELF file"
grep -qE '^ *Type: +DYN ' <<<"$header" || fail "not position-independent: $(grep Type: <<<"$header")"
dynamic=$(readelf --dynamic "$program")
grep -qE '\(FLAGS_1\) .*Flags:.* PIE' <<<"$dynamic" || fail "no PIE flag in the dynamic section"
grep -qE '\(FLAGS\) .*BIND_NOW|\(FLAGS_1\) .*Flags:.* NOW' <<<"$dynamic" ||
  fail "symbols are bound lazily (no BIND_NOW)"
readelf --program-headers --wide "$program" | grep -qE '^ *GNU_RELRO ' ||
  fail "no GNU_RELRO segment"
imports=$(readelf --dyn-syms --wide "$program" | awk '$7 == "UND" {print $8}')
grep -q '^__stack_chk_fail' <<<"$imports" || fail "no stack guards (__stack_chk_fail)"
fortified=$(grep -E '^__[a-z0-9_]+_chk@' <<<"$imports" | grep -vc '^__stack_chk_fail')
[ "$fortified" -gt 0 ] || fail "no fortified library calls (__*_chk)"
echo "ok: PIE, BIND_NOW, RELRO, stack guards, $fortified fortified calls"
