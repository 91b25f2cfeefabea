#!/bin/bash
# ipifhost serve on a copy of the demo system, driven by the real wbemcli.
# usage: wbemcli-e2e.sh IPIFHOST DEMO_STORE
. "$(dirname "$0")/lib.sh"

# Port 0: the server picks a free loopback port and names it.
"$IPIFHOST" serve --port 0 --store "$WORK/store.json" --data-dir "$WORK/data" >"$WORK/server.log" 2>&1 &
SERVER=$!
PORT=$(listening_port "$WORK/server.log" http)
grep -q "listening on" "$WORK/server.log" || { echo "FAIL server did not start"; cat "$WORK/server.log"; exit 1; }
[ -n "$PORT" ] || { echo "FAIL no port in: $(cat "$WORK/server.log")"; exit 1; }

U="http://127.0.0.1:$PORT/root/cimv2"
HOSTNAME_=$(hostname)
EP="Tavrix_IPProtocolEndpoint.CreationClassName=\"Tavrix_IPProtocolEndpoint\",Name=\"eth0_52:54:00:12:34:56_3\",SystemCreationClassName=\"Tavrix_ComputerSystem\",SystemName=\"$HOSTNAME_\""
EP1="Tavrix_IPProtocolEndpoint.CreationClassName=\"Tavrix_IPProtocolEndpoint\",Name=\"eth1_52:54:00:12:34:57_4\",SystemCreationClassName=\"Tavrix_ComputerSystem\",SystemName=\"$HOSTNAME_\""
CS="Tavrix_ComputerSystem.CreationClassName=\"Tavrix_ComputerSystem\",Name=\"$HOSTNAME_\""
ST="Tavrix_StaticIPAssignmentSettingData.InstanceID=\"Computer:eth0\""
SVC="Tavrix_IPConfigurationService.CreationClassName=\"Tavrix_IPConfigurationService\",Name=\"IPConfigService\",SystemCreationClassName=\"Tavrix_ComputerSystem\",SystemName=\"$HOSTNAME_\""

check "ei endpoints" bash -c "$(declare -f w has); WORK=$WORK; w ei '$U:Tavrix_IPProtocolEndpoint' && has 'Name=\"eth0_52:54:00:12:34:56_3\"' && has 'IPv4Address=\"192.0.2.10\"'"
check "ein endpoints" bash -c "$(declare -f w has); WORK=$WORK; w ein '$U:Tavrix_IPProtocolEndpoint' && has 'eth1_' && has 'bmc0_'"
check "gi endpoint" bash -c "$(declare -f w has); WORK=$WORK; w gi '$U:$EP' && has 'EnabledState=2'"
check "mi static setting" bash -c "$(declare -f w has); WORK=$WORK; w mi '$U:$ST' 'IPv4Address=\"192.0.2.77\"'"
check "gi static setting reads the change" bash -c "$(declare -f w has); WORK=$WORK; w gi '$U:$ST' && has 'IPv4Address=\"192.0.2.77\"'"
check "ifcfg file written" grep -q "IPV4ADDR=192.0.2.77" "$WORK/data/ifcfg-eth0"

check "ai IPElementSettingData" bash -c "$(declare -f w has); WORK=$WORK; w ai -ac Tavrix_IPElementSettingData '$U:$EP' && has 'Computer:eth0:static' && has 'Computer:eth0:dhcp'"
check "ain IPHostedAccessPoint" bash -c "$(declare -f w has); WORK=$WORK; w ain -ac Tavrix_IPHostedAccessPoint '$U:$CS' && has 'eth0_52:54:00:12:34:56_3' && has 'eth1_'"
check "ri RemoteHostedAccessPoint" bash -c "$(declare -f w has); WORK=$WORK; w ri -arc Tavrix_RemoteHostedAccessPoint '$U:$CS' && has 'Tavrix_IPRemoteServiceAccessPoint'"
check "rin BindsToLanEndPoint" bash -c "$(declare -f w has); WORK=$WORK; w rin -arc Tavrix_BindsToLanEndPoint '$U:$EP' && has 'Tavrix_LANEndpoint'"
check "ain IPHostedService" bash -c "$(declare -f w has); WORK=$WORK; w ain -ac Tavrix_IPHostedService '$U:$CS' && has 'IPConfigService'"
check "ai IPElementCapabilities" bash -c "$(declare -f w has); WORK=$WORK; w ai -ac Tavrix_IPElementCapabilities '$U:$EP' && has 'RequestedStatesSupported'"

check "cm RequestStateChange" bash -c "$(declare -f w has); WORK=$WORK; w cm '$U:$EP' RequestStateChange.RequestedState=3 && has 'RequestStateChange: 0'"
check "state change reads back" bash -c "$(declare -f w has); WORK=$WORK; w gi '$U:$EP' && has 'RequestedState=3'"

CONF="root/cimv2:Tavrix_IPAssignmentSettingData.InstanceID=\"Computer:eth1:static\""
REF1="root/cimv2:$EP1"
check "cm ApplySettingToIPProtocolEndpoint" bash -c "$(declare -f w has); WORK=$WORK; w cm '$U:$SVC' 'ApplySettingToIPProtocolEndpoint.Configuration=$CONF,Endpoint=$REF1' && has 'ApplySettingToIPProtocolEndpoint: 0'"
applied() {
  for _ in $(seq 1 50); do
    wbemcli -noverify ei "$U:Tavrix_IPProtocolEndpoint" 2>/dev/null | grep "eth1_52:54:00:12:34:57" | grep -q "AddressOrigin=3" && return 0
    sleep 0.1
  done
  return 1
}
check "applied setting reads back" applied

# Broken requests, then the server still answers.
check "broken XML answers 400" bash -c "curl -s -o /dev/null -w '%{http_code}' -H 'Content-Type: application/xml' -H 'CIMOperation: MethodCall' --data-binary '<CIM><MESSAGE' http://127.0.0.1:$PORT/cimom | grep -q 400"
check "oversized body refused" bash -c "head -c 6000000 /dev/zero | tr '\\0' a | curl -s -o /dev/null -w '%{http_code}' -H 'CIMOperation: MethodCall' --data-binary @- http://127.0.0.1:$PORT/cimom | grep -q 413"
check "still answering" bash -c "$(declare -f w has); WORK=$WORK; w ein '$U:Tavrix_IPConfigurationService' && has 'IPConfigService'"

# ---- Configurations: an alias's own values, refusals, the job, one-shot runs
CFG="$WORK/cfg"
mkdir -p "$CFG/data" "$CFG/oneshot-data"
cat >"$CFG/store.json" <<'STORE'
{"nodes":[
 {"name":"host","type":"COMPUTER_SYSTEM","description":"Host","properties":{"STATE":2},"children":[
  {"name":"nic0","type":"NETWORK_ADAPTER","children":[
   {"name":"eth0","type":"IP_INTERFACE","properties":{"NAME":"eth0","MAC_ADDRESS":"52:54:00:aa:00:00",
     "ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"10.0.0.1","SUBNET_MASK":"255.255.255.0"}},
   {"name":"eth0-1","type":"IP_INTERFACE","properties":{"NAME":"eth0:1","MAC_ADDRESS":"52:54:00:aa:00:00",
     "ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"10.0.1.1","SUBNET_MASK":"255.255.255.0"}}]}]},
 {"name":"bmc","type":"COMPUTER_SYSTEM","description":"BMC","properties":{"STATE":2},"children":[
  {"name":"port","type":"NETWORK_ADAPTER","children":[
   {"name":"eth0","type":"IP_INTERFACE","properties":{"NAME":"eth0","MAC_ADDRESS":"52:54:00:aa:00:b0",
     "ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"192.168.0.120","SUBNET_MASK":"255.255.255.0"}}]}]}
]}
STORE
"$IPIFHOST" serve --port 0 --store "$CFG/store.json" --data-dir "$CFG/data" >"$CFG/server.log" 2>&1 &
CFGSERVER=$!
trap 'kill "$CFGSERVER" 2>/dev/null; wait "$CFGSERVER" 2>/dev/null; cleanup' EXIT
CFGPORT=$(listening_port "$CFG/server.log" http)
CU="http://127.0.0.1:$CFGPORT/root/cimv2"
CFGSVC="Tavrix_IPConfigurationService.CreationClassName=\"Tavrix_IPConfigurationService\",Name=\"IPConfigService\",SystemCreationClassName=\"Tavrix_ComputerSystem\",SystemName=\"$HOSTNAME_\""
endpoint() {  # endpoint NAME: path of a host endpoint
  echo "Tavrix_IPProtocolEndpoint.CreationClassName=\"Tavrix_IPProtocolEndpoint\",Name=\"$1\",SystemCreationClassName=\"Tavrix_ComputerSystem\",SystemName=\"$HOSTNAME_\""
}
ALIAS=$(endpoint "eth0:1_52:54:00:aa:00:00_3")
ETH0=$(endpoint "eth0_52:54:00:aa:00:00_3")
applyconf() {  # applyconf CONFIGURATION-ID ENDPOINT-PATH
  w cm "$CU:$CFGSVC" "ApplySettingToIPProtocolEndpoint.Configuration=root/cimv2:Tavrix_IPAssignmentSettingData.InstanceID=\"$1\",Endpoint=root/cimv2:$2"
}
reads() {  # reads PATH TEXT: the instance shows TEXT within five seconds
  for _ in $(seq 1 50); do
    wbemcli -noverify gi "$CU:$1" 2>/dev/null | grep -q -- "$2" && return 0
    sleep 0.1
  done
  return 1
}
alias_staged() { w mi "$CU:Tavrix_StaticIPAssignmentSettingData.InstanceID=\"Computer:eth0:1\"" 'IPv4Address="10.0.1.77"' && [ -f "$CFG/data/ifcfg-eth0:1" ]; }
alias_applied() { applyconf "Computer:eth0:1:static" "$ALIAS" && has 'ApplySettingToIPProtocolEndpoint: 0' && has 'IPConfigSvcJob:1'; }
alias_reads() { reads "$ALIAS" 'IPv4Address="10.0.1.77"' && reads "$ETH0" 'IPv4Address="10.0.0.1"'; }
job_completed() {
  reads 'Tavrix_ConcreteJob.InstanceID="IPConfigSvcJob:1"' 'JobState=7' &&
    w gi "$CU:Tavrix_ConcreteJob.InstanceID=\"IPConfigSvcJob:1\"" &&
    has 'ElementName="IP configuration of Computer:eth0:1"' && has 'ErrorCode=0' && has 'TimeSubmitted='
}
bmc_staged_apart() { w mi "$CU:Tavrix_StaticIPAssignmentSettingData.InstanceID=\"BMC:eth0\"" 'IPv4Address="192.168.0.200"' && [ -f "$CFG/data/bmc/ifcfg-eth0" ] && [ ! -e "$CFG/data/ifcfg-eth0" ]; }
foreign_refused() { ! applyconf "BMC:eth0:static" "$ETH0" && has "does not belong to the endpoint's system and interface"; }
parent_refused() { ! applyconf "Computer:eth0:static" "$ALIAS" && has "does not belong"; }
check "cfg: alias static setting staged in its own file" alias_staged
check "cfg: alias configuration applied" alias_applied
check "cfg: alias takes its own values, eth0 keeps its own" alias_reads
check "cfg: job reference followed to a completed job" job_completed
check "cfg: service processor's eth0 staged apart from the host's" bmc_staged_apart
check "cfg: service processor's configuration refused on the host" foreign_refused
check "cfg: parent's configuration refused on the alias" parent_refused

# One-shot: ipifhost waits for the configuration thread before it exits.
# Many nodes of one interface make the thread outlast an exit that does not wait.
{
  printf '{"nodes":[{"name":"host","type":"COMPUTER_SYSTEM","description":"Host","properties":{"STATE":2},"children":[{"name":"nic","type":"NETWORK_ADAPTER","children":['
  for i in $(seq 1 120); do
    [ "$i" -gt 1 ] && printf ','
    printf '{"name":"n%d","type":"IP_INTERFACE","properties":{"NAME":"eth5","MAC_ADDRESS":"52:54:00:bb:00:05","ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"10.5.0.%d"}}' "$i" "$((i % 250))"
  done
  printf ']}]}]}\n'
} >"$CFG/oneshot.json"
printf 'IPV4ADDR=10.5.5.5\n' >"$CFG/oneshot-data/ifcfg-eth5"
oneshot() {
  for run in 1 2 3; do
    cp "$CFG/oneshot.json" "$CFG/oneshot-$run.json"
    "$IPIFHOST" cm --store "$CFG/oneshot-$run.json" --data-dir "$CFG/oneshot-data" "root/cimv2:$CFGSVC" \
      ApplySettingToIPProtocolEndpoint \
      "Configuration=root/cimv2:Tavrix_IPAssignmentSettingData.InstanceID=\"Computer:eth5:static\"" \
      "Endpoint=root/cimv2:$(endpoint "eth5_52:54:00:bb:00:05_3")" >"$CFG/oneshot.out" 2>&1
    local rc=$?
    [ "$rc" -eq 0 ] || { echo "run $run: exit $rc"; cat "$CFG/oneshot.out"; return 1; }
    local done_
    done_=$(grep -o '"IPV4_ADDRESS": *"10.5.5.5"' "$CFG/oneshot-$run.json" | wc -l)
    [ "$done_" -eq 120 ] || { echo "run $run: $done_ of 120 nodes configured"; return 1; }
  done
}
check "cfg: ipifhost cm ApplySettingToIPProtocolEndpoint waits for the configuration" oneshot

# inst: paths that do not name one instance touch nothing; an endpoint's own
# AddressOrigin comes back unchanged, another one is refused.
INSTBEFORE=$(wbemcli -noverify ei "$U:Tavrix_IPProtocolEndpoint" 2>/dev/null | sort)
check "inst: cm RequestStateChange on the class path is refused" bash -c "! wbemcli -noverify cm '$U:Tavrix_IPProtocolEndpoint' RequestStateChange.RequestedState=3 2>&1 | grep -q 'RequestStateChange: 0'"
check "inst: mi without keys is refused" bash -c "! wbemcli -noverify mi '$U:Tavrix_StaticIPAssignmentSettingData' 'IPv4Address=\"192.0.2.66\"' >/dev/null 2>&1"
check "inst: nothing changed" bash -c "[ \"\$(wbemcli -noverify ei '$U:Tavrix_IPProtocolEndpoint' 2>/dev/null | sort)\" = '$INSTBEFORE' ]"
check "inst: mi sending the endpoint's own AddressOrigin back" bash -c "wbemcli -noverify mi '$U:$EP' 'AddressOrigin=3,IPv4Address=\"192.0.2.12\"' && wbemcli -noverify gi '$U:$EP' | grep -q 'IPv4Address=\"192.0.2.12\"'"
check "inst: mi with another AddressOrigin is refused" bash -c "! wbemcli -noverify mi '$U:$EP' 'AddressOrigin=2' >/dev/null 2>&1 && wbemcli -noverify gi '$U:$EP' | grep -q 'AddressOrigin=3'"

# Associations asked as clients ask: without -ac, with a superclass, with a
# role; from and towards the computer system.
ALIAS="Tavrix_IPProtocolEndpoint.CreationClassName=\"Tavrix_IPProtocolEndpoint\",Name=\"eth0:1_52:54:00:12:34:56_3\",SystemCreationClassName=\"Tavrix_ComputerSystem\",SystemName=\"$HOSTNAME_\""
SPCS="Tavrix_SPComputerSystem.CreationClassName=\"Tavrix_SPComputerSystem\",Name=\"BMC:-1\""
BMCEP="Tavrix_IPProtocolEndpoint.CreationClassName=\"Tavrix_IPProtocolEndpoint\",Name=\"bmc0_52:54:00:ab:cd:ef_3\",SystemCreationClassName=\"Tavrix_SPComputerSystem\",SystemName=\"BMC:-1\""
GW="Tavrix_IPRemoteServiceAccessPoint.CreationClassName=\"Tavrix_IPRemoteServiceAccessPoint\",Name=\"eth0_IPv4\",SystemCreationClassName=\"Tavrix_ComputerSystem\",SystemName=\"$HOSTNAME_\""
check "ain without -ac lists every far end" bash -c "$(declare -f w has); WORK=$WORK; w ain '$U:$EP' && has 'InstanceID=\"Computer:eth0:static\"' && has 'InstanceID=\"Computer:eth0:dhcp\"' && has 'Tavrix_StaticIPAssignmentSettingData.InstanceID=\"Computer:eth0\"' && has 'Tavrix_LANEndpoint' && has 'Tavrix_ComputerSystem.' && has 'Name=\"eth0_IPv4\"' && has 'Tavrix_IPEnabledLogicalElementCapabilities.InstanceID=\"eth0\"' && has 'IPConfigService'"
check "rin without -ac names every association" bash -c "$(declare -f w has); WORK=$WORK; w rin '$U:$EP' && for a in Tavrix_BindsToLanEndPoint Tavrix_IPElementSettingData Tavrix_StaticIPElementSettingData Tavrix_IPHostedAccessPoint Tavrix_IPRemoteAccessAvailableToElement Tavrix_IPElementCapabilities Tavrix_IPServiceAffectsElement; do has \"\$a.\" || exit 1; done"
check "ain without -ac from an alias" bash -c "$(declare -f w has); WORK=$WORK; w ain '$U:$ALIAS' && has 'Computer:eth0:1:static' && has 'Tavrix_StaticIPAssignmentSettingData.InstanceID=\"Computer:eth0:1\"' && ! has 'Computer:eth0:static'"
check "ain with a superclass" bash -c "$(declare -f w has); WORK=$WORK; w ain -ac CIM_ElementSettingData '$U:$EP' && has 'Computer:eth0:dhcp' && ! has 'Tavrix_LANEndpoint'"
check "ain with a role the endpoint does not play" bash -c "$(declare -f w has); WORK=$WORK; w ain -ac Tavrix_IPElementSettingData -ar SettingData '$U:$EP' && ! has 'InstanceID'"
for assoc in Tavrix_IPHostedAccessPoint Tavrix_RemoteHostedAccessPoint Tavrix_IPHostedService; do
  check "ain $assoc from the computer" bash -c "$(declare -f w has); WORK=$WORK; w ain -ac $assoc '$U:$CS' && has 'root/cimv2:Tavrix_'"
  check "rin $assoc from the computer" bash -c "$(declare -f w has); WORK=$WORK; w rin -arc $assoc '$U:$CS' && has '$assoc.'"
done
check "ain IPHostedAccessPoint towards the computer" bash -c "$(declare -f w has); WORK=$WORK; w ain -ac Tavrix_IPHostedAccessPoint '$U:$EP' && has 'Tavrix_ComputerSystem.'"
check "ain RemoteHostedAccessPoint towards the computer" bash -c "$(declare -f w has); WORK=$WORK; w ain -ac Tavrix_RemoteHostedAccessPoint '$U:$GW' && has 'Tavrix_ComputerSystem.'"
check "ain IPHostedService towards the computer" bash -c "$(declare -f w has); WORK=$WORK; w ain -ac Tavrix_IPHostedService '$U:$SVC' && has 'Tavrix_ComputerSystem.'"
check "ain SPHostedAccessPoint both ways" bash -c "$(declare -f w has); WORK=$WORK; w ain -ac Tavrix_SPHostedAccessPoint '$U:$SPCS' && has 'bmc0_' && w ain -ac Tavrix_SPHostedAccessPoint '$U:$BMCEP' && has 'Tavrix_SPComputerSystem.'"
check "ain without -ac from the computer" bash -c "$(declare -f w has); WORK=$WORK; w ain '$U:$CS' && has 'eth0:1_' && has 'Name=\"eth0_IPv4\"' && has 'IPConfigService'"

finish
