#!/usr/bin/env bash
# manifest_test.sh PROGRAM: the application manifest read back out of the built program (resource type 24,
# id 1) is well-formed XML that asks for administrator rights the one way every Windows accepts: the request
# inside a trustInfo in the asm.v2 namespace, no element declaring two namespaces, and no other dependency.
set -uo pipefail
program=$1
manifest=$(wrestool -x --raw --type=24 --name=1 "$program") || { echo "manifest: cannot read $program"; exit 1; }
[ -n "$manifest" ] || { echo "manifest: $program has no resource 24/1"; exit 1; }
failed=0
fail() { echo "manifest: $*"; failed=1; }

xmllint --noout - <<<"$manifest" || fail "not well-formed XML"
count() { xmllint --xpath "count($1)" - <<<"$manifest" 2>/dev/null; }
v1="namespace-uri() = 'urn:schemas-microsoft-com:asm.v1'"
v2="namespace-uri() = 'urn:schemas-microsoft-com:asm.v2'"
request="/*[local-name() = 'assembly' and $v1]/*[local-name() = 'trustInfo' and $v2]
         /*[local-name() = 'security' and $v2]/*[local-name() = 'requestedPrivileges' and $v2]
         /*[local-name() = 'requestedExecutionLevel' and $v2]"
[ "$(count "$request[@level = 'requireAdministrator' and @uiAccess = 'false']")" = 1 ] ||
  fail "no requireAdministrator request, without uiAccess, inside an asm.v2 trustInfo"
[ "$(count "//*[local-name() = 'requestedExecutionLevel']")" = 1 ] || fail "more than one execution level"
[ "$(count "//*[local-name() = 'dependency']")" = 0 ] || fail "depends on another assembly"
grep -Eq '<[^>]*xmlns[^>]*xmlns' <<<"$manifest" && fail "an element declares two namespaces"

[ $failed -eq 0 ] && echo "manifest: requireAdministrator, uiAccess false, in an asm.v2 trustInfo"
exit $failed
