#!/bin/sh
# ipifhost serve --live in a network namespace of its own, driven by wbemcli
# and checked against `ip -j addr`. Exits 77 (skipped) where no namespace
# can be made.
# usage: live-store.sh IPIFHOST
set -u
tool=$1
if [ "${IPIF_IN_NETNS:-}" != 1 ]; then
    if ! unshare -n -m true 2>/dev/null; then
        echo "SKIP: cannot create network and mount namespaces here (unshare -n -m fails)"
        exit 77
    fi
    IPIF_IN_NETNS=1 exec unshare -n -m sh "$0" "$@"
fi

# From here on, inside the new namespace only (and a mount namespace of
# its own, so that the resolver configuration can be one of the test's).
work=$(mktemp -d /tmp/ipif-netns-XXXXXX)
printf 'nameserver 192.0.2.53\nsearch netns.example\n' >"$work/resolv.conf"
mount --bind "$work/resolv.conf" /etc/resolv.conf || { echo "SKIP: cannot mount in a mount namespace"; exit 77; }
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
while [ $i -lt 300 ] && ! grep -q "listening on" "$work/server.log"; do sleep 0.1; i=$((i + 1)); done
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

# A kernel change shows in a request soon after: asked every 0.2 s, for
# up to 30 s (a machine loaded by a parallel test run may delay the watcher
# and the server by seconds). Every wait below is as long, and ends as soon
# as what it waits for is there.
served_within() {
    n=0
    while [ $n -lt 150 ]; do
        endpoints | tr ',' '\n' | grep -q "$1" && return 0
        sleep 0.2
        n=$((n + 1))
    done
    return 1
}
ip addr add 203.0.113.5/24 dev veth1
served_within 'IPv4Address="203.0.113.5"' || fail "address added with ip addr add not served within 30 s"
ip link set veth1 down
served_within 'EnabledState=3' || fail "link down not served as EnabledState 3 within 30 s"

# Read only: a change is refused and the kernel keeps its value.
name=$(tr ',' '\n' <"$work/ei" | grep -o 'Name="veth0_[^"]*"' | head -1)
wbemcli -noverify mi "$U:Tavrix_IPProtocolEndpoint.CreationClassName=\"Tavrix_IPProtocolEndpoint\",$name,SystemCreationClassName=\"Tavrix_ComputerSystem\",SystemName=\"$(hostname)\"" \
    'IPv4Address=192.0.2.99' >"$work/mi" 2>&1 && fail "modify on a read-only live store answered success"
ip -j addr show veth0 | grep -q '192.0.2.99' && fail "read-only live store changed the kernel"
grep -q 'must be allowed' "$work/mi" || fail "refusal of a read-only live store does not say why: $(cat "$work/mi")"
kill "$server"; wait "$server" 2>/dev/null

# With --allow-changes writes land in the kernel, on a pair of its own.
ip link add veth2 type veth peer name veth3
ip link set veth2 up
ip link set veth3 up
ip addr add 10.20.0.5/24 dev veth2
# An alias address carries a label of its own; an unlabeled secondary
# address stays part of the link's interface.
ip link add veth4 type veth peer name veth5
ip link set veth4 up
ip link set veth5 up
ip addr add 10.40.0.1/24 dev veth4
ip addr add 10.40.0.2/24 dev veth4 label veth4:1
# Links without an IPv4 address: veth6 has its link-local IPv6 one only,
# veth7 none at all.
ip link add veth6 type veth peer name veth7
ip link set veth7 addrgenmode none
ip link set veth6 up
ip link set veth7 up
mkdir "$work/data"
# Origins the kernel keeps no record of are kept beside the store file.
start() {
    "$tool" serve --live --allow-changes --port 0 --store "$work/data/quellstore.json" \
        --data-dir "$work/data" >"$work/server2.log" 2>&1 &
    server=$!
    i=0
    while [ $i -lt 300 ] && ! grep -q "listening on" "$work/server2.log"; do sleep 0.1; i=$((i + 1)); done
    port=$(sed -n 's/^listening on http:\/\/127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/server2.log")
    [ -n "$port" ] || { echo "FAIL server with --allow-changes did not start"; cat "$work/server2.log"; exit 1; }
    U="http://127.0.0.1:$port/root/cimv2"
}
start
ep="http://$(wbemcli -noverify ein "$U:Tavrix_IPProtocolEndpoint" 2>&1 | grep 'Name="veth2_' | head -1)"
addrs() { ip -j -4 addr show dev "$1" | python3 -c '
import json, sys
print(" ".join("%s/%d" % (a["local"], a["prefixlen"]) for l in json.load(sys.stdin) for a in l["addr_info"]))'; }
up() { ip -j link show dev "$1" | python3 -c 'import json,sys; print("UP" in json.load(sys.stdin)[0]["flags"])'; }

wbemcli -noverify mi "$ep" 'IPv4Address=10.20.0.9' >"$work/mi2" 2>&1 || fail "mi IPv4Address answered an error: $(cat "$work/mi2")"
[ "$(addrs veth2)" = "10.20.0.9/24" ] || fail "mi IPv4Address: kernel has [$(addrs veth2)], expected [10.20.0.9/24]"
wbemcli -noverify mi "$ep" 'SubnetMask=255.255.0.0' >"$work/mi3" 2>&1 || fail "mi SubnetMask answered an error: $(cat "$work/mi3")"
[ "$(addrs veth2)" = "10.20.0.9/16" ] || fail "mi SubnetMask: kernel has [$(addrs veth2)], expected [10.20.0.9/16]"
i=0
while [ $i -lt 150 ] && ! wbemcli -noverify gi "$ep" 2>&1 | grep -q 'SubnetMask="255.255.0.0"'; do sleep 0.2; i=$((i + 1)); done
[ $i -lt 150 ] || fail "changed mask not served within 30 s"

wbemcli -noverify cm "$ep" RequestStateChange.RequestedState=3 >"$work/cm" 2>&1 || fail "RequestStateChange 3 answered an error: $(cat "$work/cm")"
[ "$(up veth2)" = False ] || fail "RequestStateChange 3 left veth2 up"
wbemcli -noverify cm "$ep" RequestStateChange.RequestedState=2 >"$work/cm" 2>&1 || fail "RequestStateChange 2 answered an error: $(cat "$work/cm")"
[ "$(up veth2)" = True ] || fail "RequestStateChange 2 left veth2 down"

# Refusals change nothing: a gateway the kernel cannot reach, an address
# no interface can have.
before=$(ip -j route show default)
gw="http://$(wbemcli -noverify ein "$U:Tavrix_IPRemoteServiceAccessPoint" 2>&1 | grep 'Name="veth0_IPv4"' | head -1)"
wbemcli -noverify mi "$gw" 'AccessInfo=10.9.9.9' >"$work/gw" 2>&1 && fail "unreachable gateway answered success"
grep -q 'kernel refused' "$work/gw" || fail "kernel refusal not reported: $(cat "$work/gw")"
[ "$(ip -j route show default)" = "$before" ] || fail "refused gateway changed the routes: $(ip -j route show default)"
wbemcli -noverify mi "$ep" 'IPv4Address=224.0.0.5' >"$work/mi4" 2>&1 && fail "multicast address answered success"
[ "$(addrs veth2)" = "10.20.0.9/16" ] || fail "refused address changed the kernel: [$(addrs veth2)]"
wbemcli -noverify gi "$ep" 2>&1 | grep -q 'IPv4Address="10.20.0.9"' || fail "refused address changed the store"

# A gateway the kernel takes replaces the default route.
wbemcli -noverify mi "$gw" 'AccessInfo=192.0.2.254' >"$work/gw2" 2>&1 || fail "gateway change answered an error: $(cat "$work/gw2")"
ip -j route show default | grep -q '"gateway":"192.0.2.254"' || fail "gateway change not in the kernel: $(ip -j route show default)"
ip -j route show default | grep -q '"gateway":"192.0.2.1"' && fail "old default gateway left behind"

# A static configuration applied to the endpoint lands in the kernel.
wbemcli -noverify mi "$U:Tavrix_StaticIPAssignmentSettingData.InstanceID=\"Computer:veth2\"" \
    'IPv4Address="10.20.0.33"' >"$work/st" 2>&1 || fail "staging the static setting answered an error: $(cat "$work/st")"
svc="Tavrix_IPConfigurationService.CreationClassName=\"Tavrix_IPConfigurationService\",Name=\"IPConfigService\",SystemCreationClassName=\"Tavrix_ComputerSystem\",SystemName=\"$(hostname)\""
wbemcli -noverify cm "$U:$svc" "ApplySettingToIPProtocolEndpoint.Configuration=root/cimv2:Tavrix_IPAssignmentSettingData.InstanceID=\"Computer:veth2:static\",Endpoint=root/cimv2:${ep#*root/cimv2:}" \
    >"$work/apply" 2>&1 || fail "Apply answered an error: $(cat "$work/apply")"
i=0
while [ $i -lt 300 ] && ! addrs veth2 | grep -q '10.20.0.33/'; do sleep 0.1; i=$((i + 1)); done
addrs veth2 | grep -q '10.20.0.33/' || fail "Apply of a static configuration not in the kernel: [$(addrs veth2)] $(cat "$work/apply")"
# The resolver values written back unchanged and the restart request are
# no refusals, and the job's later writes find the interface's nodes though
# its address change has laid them out anew: the Apply completes.
finished() {
    job="$U:Tavrix_ConcreteJob.InstanceID=\"IPConfigSvcJob:1\""
    i=0
    while [ $i -lt 300 ] && ! wbemcli -noverify gi "$job" 2>&1 | grep -Eq 'JobState=(7|10)'; do sleep 0.1; i=$((i + 1)); done
    wbemcli -noverify gi "$job" >"$work/job" 2>&1
}
finished
grep -Eq 'JobState=(7|10)' "$work/job" || fail "Apply did not end: $(cat "$work/job")"
grep -Eq 'DNS settings are read only|restart request' "$work/job" && fail "Apply refused unchanged or restart values: $(cat "$work/job")"
grep -q 'JobState=7' "$work/job" || fail "Apply did not complete: $(cat "$work/job")"
# A part the kernel refuses: the job names the kernel's reason.
wbemcli -noverify mi "$U:Tavrix_StaticIPAssignmentSettingData.InstanceID=\"Computer:veth0\"" \
    'GatewayIPv4Address="10.9.9.9"' >"$work/st0" 2>&1 || fail "staging veth0 answered an error: $(cat "$work/st0")"
ep0=$(wbemcli -noverify ein "$U:Tavrix_IPProtocolEndpoint" 2>&1 | grep 'Name="veth0_' | head -1)
wbemcli -noverify cm "$U:$svc" "ApplySettingToIPProtocolEndpoint.Configuration=root/cimv2:Tavrix_IPAssignmentSettingData.InstanceID=\"Computer:veth0:static\",Endpoint=root/cimv2:${ep0#*root/cimv2:}" \
    >"$work/apply0" 2>&1 || fail "Apply to veth0 answered an error: $(cat "$work/apply0")"
finished
grep -q 'JobState=10' "$work/job" && grep -q 'ErrorDescription=.*the kernel refused default gateway 10.9.9.9' "$work/job" ||
    fail "refused part of an Apply does not say why: $(cat "$work/job")"
ip -j route show default | grep -q '"gateway":"192.0.2.254"' || fail "refused gateway of an Apply changed the routes: $(ip -j route show default)"

# The alias is an IP interface of its own, named by its label: a modify
# lands on its address, not on the link's first one.
endpoints >"$work/ei3"
alias="http://$(wbemcli -noverify ein "$U:Tavrix_IPProtocolEndpoint" 2>&1 | grep 'Name="veth4:1_' | head -1)"
[ "$alias" != "http://" ] || fail "alias veth4:1 has no endpoint of its own: $(grep -o 'Name="veth4[^"]*"' "$work/ei3" | tr '\n' ' ')"
wbemcli -noverify ei "$U:Tavrix_StaticIPAssignmentSettingData" 2>&1 | grep -q 'InstanceID="Computer:veth4:1' ||
    fail "alias veth4:1 has no setting InstanceID of its own"
wbemcli -noverify mi "$alias" 'IPv4Address=10.40.0.3' >"$work/mi5" 2>&1 || fail "mi of the alias answered an error: $(cat "$work/mi5")"
labels() { ip -j -4 addr show dev "$1" | python3 -c '
import json, sys
print(" ".join(sorted("%s=%s" % (a.get("label", ""), a["local"]) for l in json.load(sys.stdin) for a in l["addr_info"])))'; }
[ "$(labels veth4)" = "veth4:1=10.40.0.3 veth4=10.40.0.1" ] ||
    fail "mi of the alias: kernel has [$(labels veth4)], expected [veth4:1=10.40.0.3 veth4=10.40.0.1]"

# An origin written is kept over re-layouts and by the next server.
mac2=$(ip -j link show veth2 | python3 -c 'import json,sys; print(json.load(sys.stdin)[0]["address"])')
ep2="http://$(wbemcli -noverify ein "$U:Tavrix_IPProtocolEndpoint" 2>&1 | grep "Name=\"veth2_${mac2}_" | head -1)"
wbemcli -noverify mi "$ep2" 'AddressOrigin=4' >"$work/mi6" 2>&1 || fail "mi AddressOrigin answered an error: $(cat "$work/mi6")"
ip addr add 10.50.0.1/24 dev veth3
served_within 'IPv4Address="10.50.0.1"' || fail "address added to veth3 not served within 30 s"
endpoints | grep -q "Name=\"veth2_${mac2}_4\"" || fail "origin DHCP lost at the next layout: $(endpoints | grep -o "Name=\"veth2_[^\"]*\"")"
kill "$server"; wait "$server" 2>/dev/null
start
endpoints | grep -q "Name=\"veth2_${mac2}_4\"" || fail "origin DHCP lost by the next server: $(endpoints | grep -o "Name=\"veth2_[^\"]*\"")"

# An IPv4 address set where there was none takes the mask given with it.
for link in veth6 veth7; do
    wbemcli -noverify mi "$U:Tavrix_StaticIPAssignmentSettingData.InstanceID=\"Computer:$link\"" \
        'IPv4Address="10.70.0.5",SubnetMask="255.255.0.0"' >"$work/st2" 2>&1 ||
        fail "staging $link answered an error: $(cat "$work/st2")"
    target=$(wbemcli -noverify ein "$U:Tavrix_IPProtocolEndpoint" 2>&1 | grep "Name=\"${link}_" | head -1)
    wbemcli -noverify cm "$U:$svc" "ApplySettingToIPProtocolEndpoint.Configuration=root/cimv2:Tavrix_IPAssignmentSettingData.InstanceID=\"Computer:$link:static\",Endpoint=root/cimv2:${target#*root/cimv2:}" \
        >"$work/apply2" 2>&1 || fail "Apply to $link answered an error: $(cat "$work/apply2")"
    i=0
    while [ $i -lt 300 ] && [ "$(addrs $link)" != "10.70.0.5/16" ]; do sleep 0.1; i=$((i + 1)); done
    [ "$(addrs $link)" = "10.70.0.5/16" ] || fail "Apply of address and mask to $link: kernel has [$(addrs $link)], expected [10.70.0.5/16]"
done

# A global IPv6 address goes beside the link-local one, which the link
# needs for neighbour discovery, not in its place.
addrs6() { ip -j -6 addr show dev "$1" | python3 -c '
import json, sys
print(" ".join(sorted("%s/%d" % (a["local"], a["prefixlen"]) for l in json.load(sys.stdin) for a in l["addr_info"])))'; }
local6=$(addrs6 veth6)
case "$local6" in fe80:*) ;; *) fail "veth6 has no link-local address to keep: [$local6]" ;; esac
wbemcli -noverify mi "$U:Tavrix_StaticIPAssignmentSettingData.InstanceID=\"Computer:veth6\"" \
    'IPv6Address="2001:db8:70::5"' >"$work/st3" 2>&1 || fail "staging IPv6 on veth6 answered an error: $(cat "$work/st3")"
target=$(wbemcli -noverify ein "$U:Tavrix_IPProtocolEndpoint" 2>&1 | grep 'Name="veth6_' | head -1)
wbemcli -noverify cm "$U:$svc" "ApplySettingToIPProtocolEndpoint.Configuration=root/cimv2:Tavrix_IPAssignmentSettingData.InstanceID=\"Computer:veth6:static\",Endpoint=root/cimv2:${target#*root/cimv2:}" \
    >"$work/apply3" 2>&1 || fail "Apply of IPv6 to veth6 answered an error: $(cat "$work/apply3")"
i=0
while [ $i -lt 300 ] && ! addrs6 veth6 | grep -q '2001:db8:70::5/'; do sleep 0.1; i=$((i + 1)); done
[ "$(addrs6 veth6)" = "$(printf '%s\n' 2001:db8:70::5/64 "$local6" | sort | tr '\n' ' ' | sed 's/ $//')" ] ||
    fail "Apply of a global IPv6 address: kernel has [$(addrs6 veth6)], expected [2001:db8:70::5/64 $local6]"
# Its IPv6 prefix length is the IPv6 address's, not the IPv4 one's.
finished
grep -q 'prefix length' "$work/job" && fail "IPv6 prefix of an Apply went to the IPv4 address: $(cat "$work/job")"
[ "$(addrs veth6)" = "10.70.0.5/16" ] || fail "IPv6 Apply changed the IPv4 address: [$(addrs veth6)]"

# An Apply of what the interface has changes nothing, whichever of its
# nodes the setting was read from.
before=$(ip -j addr show dev veth4 | python3 -c '
import json, sys
print(sorted("%s/%d" % (a["local"], a["prefixlen"]) for l in json.load(sys.stdin) for a in l["addr_info"]))')
target=$(wbemcli -noverify ein "$U:Tavrix_IPProtocolEndpoint" 2>&1 | grep 'Name="veth4_' | head -1)
wbemcli -noverify cm "$U:$svc" "ApplySettingToIPProtocolEndpoint.Configuration=root/cimv2:Tavrix_IPAssignmentSettingData.InstanceID=\"Computer:veth4:static\",Endpoint=root/cimv2:${target#*root/cimv2:}" \
    >"$work/apply4" 2>&1 || fail "Apply of veth4 as it is answered an error: $(cat "$work/apply4")"
finished
after=$(ip -j addr show dev veth4 | python3 -c '
import json, sys
print(sorted("%s/%d" % (a["local"], a["prefixlen"]) for l in json.load(sys.stdin) for a in l["addr_info"]))')
[ "$after" = "$before" ] || fail "Apply of veth4 as it is changed the kernel: [$before] -> [$after]"

echo "live store: $failures failure(s)"
[ $failures -eq 0 ]
