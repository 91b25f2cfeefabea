#!/bin/sh
# Installs the build into a scratch prefix and runs ipifhost from there:
# the schema, registration, demo system and both providers must come from
# the installed layout, with nothing of the build tree on the way.
set -eu
build=$1
cmake=${2:-cmake}
prefix=$(mktemp -d /tmp/ipif-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
host="$prefix/bin/ipifhost"
[ -x "$host" ] || fail "no bin/ipifhost"
data="$prefix/share/ipinterfaceprofileprovider"
for f in ipinterfaceprofile.reg Tavrix_IPInterfaceProfile.mof Tavrix_Companion.mof CIM_Superclasses.mof \
         demo-store.json log4cxx.properties; do
    [ -f "$data/$f" ] || fail "no $data/$f"
done
[ -f "$prefix/share/man/man1/ipifhost.1" ] || fail "no man page"
[ -f "$prefix/lib/systemd/system/ipifhost.service" ] || fail "no systemd unit"
providers=$(find "$prefix" -name libipinterfaceprofileprovider.so)
[ -n "$providers" ] || fail "no provider library"
[ -f "$(dirname "$providers")/libipifcompanion.so" ] || fail "companion not next to the module"

# Installed paths are what the installed binary reports and uses.
"$host" --help | grep -q "files: schema and registration in $prefix/bin/../share/ipinterfaceprofileprovider" ||
    fail "ipifhost does not read the installed schema: $("$host" --help | tail -2)"
unset IPIFHOST_MOF IPIFHOST_PROVIDER_DIR
out=$("$host" demo --work "$prefix/work")
echo "$out" | grep -q 'instance of Tavrix_IPProtocolEndpoint' || fail "demo: $out"
cmp -s "$data/demo-store.json" "$prefix/work/store.json" || fail "demo did not copy the installed store"
"$host" show --store "$prefix/work/store.json" --data-dir "$prefix/work/data/" | grep -q '^vm  *eth0 ' ||
    fail "show from the installed layout"
echo "installed layout in $prefix: ok"
