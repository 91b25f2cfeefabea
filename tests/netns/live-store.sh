#!/bin/sh
# ipifhost serve --live in a network namespace of its own, driven by wbemcli
# and checked against `ip -j addr`. Exits 77 (skipped) where no namespace
# can be made.
# usage: live-store.sh IPIFHOST
set -u
tool=$1
if [ "${IPIF_IN_NETNS:-}" != 1 ]; then
    if ! unshare -n true 2>/dev/null; then
        echo "SKIP: cannot create a network namespace here (unshare -n fails)"
        exit 77
    fi
    IPIF_IN_NETNS=1 exec unshare -n sh "$0" "$@"
fi

# From here on, inside the new namespace only.
work=$(mktemp -d /tmp/ipif-netns-XXXXXX)
server=
cleanup() { [ -n "$server" ] && kill "$server" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

ip link set lo up
ip link add veth0 type veth peer name veth1 || { echo "SKIP: no veth support"; exit 77; }
ip link set veth0 up
ip link set veth1 up
ip addr add 192.0.2.10/24 dev veth0
ip addr add 192.0.2.11/24 dev veth0          # alias address
ip addr add 198.51.100.7/16 dev veth1
ip route add default via 192.0.2.1 dev veth0

"$tool" serve --live --port 0 >"$work/server.log" 2>&1 &
server=$!
i=0
while [ $i -lt 100 ] && ! grep -q "listening on" "$work/server.log"; do sleep 0.1; i=$((i + 1)); done
port=$(sed -n 's/^listening on http:\/\/127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/server.log")
[ -n "$port" ] || { echo "FAIL server did not start"; cat "$work/server.log"; exit 1; }
U="http://127.0.0.1:$port/root/cimv2"

endpoints() { wbemcli -noverify ei "$U:Tavrix_IPProtocolEndpoint" 2>&1; }

# Every IPv4 address the kernel has, with its mask, and nothing else.
endpoints >"$work/ei"
kernel=$(ip -j -4 addr show | python3 -c '
import json, sys
for link in json.load(sys.stdin):
    if link["ifname"] == "lo": continue
    for a in link["addr_info"]:
        print(link["ifname"], a["local"], a["prefixlen"])' | sort)
served=$(tr ',' '\n' <"$work/ei" | sed -n 's/^IPv4Address="\(.*\)"$/\1/p' | sort)
expected=$(printf '%s\n' "$kernel" | awk '{print $2}' | sort)
[ "$served" = "$expected" ] || fail "addresses: served [$served], kernel [$expected]"
grep -q 'SubnetMask="255.255.0.0"' "$work/ei" || fail "mask of 198.51.100.7/16 missing"
mac=$(ip -j link show veth0 | python3 -c 'import json,sys; print(json.load(sys.stdin)[0]["address"])')
grep -q "veth0_$mac" "$work/ei" || fail "endpoint Name of veth0 missing"
wbemcli -noverify ei "$U:Tavrix_IPRemoteServiceAccessPoint" 2>&1 | grep -q '192.0.2.1' ||
    fail "default gateway 192.0.2.1 not served"

# A kernel change shows in the next request, within a second.
ip addr add 203.0.113.5/24 dev veth1
sleep 1
endpoints | grep -q 'IPv4Address="203.0.113.5"' || fail "address added with ip addr add not served within 1 s"
ip link set veth1 down
sleep 1
endpoints | tr ',' '\n' >"$work/ei2"
grep -q 'EnabledState=3' "$work/ei2" || fail "link down not served as EnabledState 3"

# Read only: a change is refused and the kernel keeps its value.
name=$(tr ',' '\n' <"$work/ei" | grep -o 'Name="veth0_[^"]*"' | head -1)
wbemcli -noverify mi "$U:Tavrix_IPProtocolEndpoint.CreationClassName=\"Tavrix_IPProtocolEndpoint\",$name,SystemCreationClassName=\"Tavrix_ComputerSystem\",SystemName=\"$(hostname)\"" \
    'IPv4Address=192.0.2.99' >"$work/mi" 2>&1 && fail "modify on a read-only live store answered success"
ip -j addr show veth0 | grep -q '192.0.2.99' && fail "read-only live store changed the kernel"

echo "live store: $failures failure(s)"
[ $failures -eq 0 ]
