#!/bin/bash
# ipifhost serve on a copy of the demo system, driven by the real wbemcli.
# usage: wbemcli-e2e.sh IPIFHOST DEMO_STORE
set -u
IPIFHOST=$1
DEMO=$2
WORK=$(mktemp -d)
SERVER=""
cleanup() {
  [ -n "$SERVER" ] && kill "$SERVER" 2>/dev/null && wait "$SERVER" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
cp "$DEMO" "$WORK/store.json"
mkdir -p "$WORK/data"

failures=0
passes=0
check() {  # check NAME COMMAND... : passes when the command succeeds
  local name=$1; shift
  if "$@" >"$WORK/out" 2>&1; then
    echo "PASS $name"; passes=$((passes + 1))
  else
    echo "FAIL $name"; sed 's/^/    /' "$WORK/out" | head -20; failures=$((failures + 1))
  fi
}
has() { grep -q -- "$1" "$WORK/last"; }
w() { wbemcli -noverify "$@" >"$WORK/last" 2>&1; local rc=$?; cat "$WORK/last"; return $rc; }

# Port 0: the server picks a free loopback port and names it.
"$IPIFHOST" serve --port 0 --store "$WORK/store.json" --data-dir "$WORK/data" >"$WORK/server.log" 2>&1 &
SERVER=$!
for _ in $(seq 1 100); do
  grep -q "listening on" "$WORK/server.log" && break
  sleep 0.1
done
grep -q "listening on" "$WORK/server.log" || { echo "FAIL server did not start"; cat "$WORK/server.log"; exit 1; }
PORT=$(sed -n 's/^listening on http:\/\/127\.0\.0\.1:\([0-9]*\)$/\1/p' "$WORK/server.log")
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

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
