#!/bin/sh
# ipifhost refuses node stores it cannot load: one-shot commands fail with
# the reason, serve does not start.
# usage: broken-store.sh IPIFHOST DEMO_STORE
set -u
tool=$1
demo=$2
work=$(mktemp -d /tmp/ipifhost-broken-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/data" "$work/folder-store"
head -c 300 "$demo" > "$work/truncated.json"
printf '{"nodes":[{"name":"h","type":"COMPUTER_SYSTEM","properties":{"STATE":"up"}}]}' > "$work/types.json"
failures=0

expect_refusal() {  # label store command...
    label=$1 store=$2
    shift 2
    out=$(timeout 20 "$tool" "$@" --store "$store" --data-dir "$work/data" 2>&1 </dev/null)
    rc=$?
    if [ "$rc" -eq 0 ] || [ "$rc" -eq 124 ]; then
        echo "FAIL $label: exit $rc: $out"; failures=$((failures + 1))
    elif ! printf '%s' "$out" | grep -q "node store cannot be used.*$store"; then
        echo "FAIL $label: no clear message: $out"; failures=$((failures + 1))
    else
        echo "ok   $label: $out"
    fi
}

for store in "$work/missing.json" "$work/truncated.json" "$work/types.json" "$work/folder-store"; do
    expect_refusal "ei $(basename "$store")" "$store" ei Tavrix_IPProtocolEndpoint
done
expect_refusal "gi" "$work/truncated.json" gi 'root/cimv2:Tavrix_StaticIPAssignmentSettingData.InstanceID="Computer:eth0"'
expect_refusal "serve" "$work/truncated.json" serve --port 0
[ -z "$(ls -A "$work/data")" ] || { echo "FAIL data folder was written"; failures=$((failures + 1)); }

# The sound store is served.
cp "$demo" "$work/sound.json"
out=$("$tool" ein Tavrix_IPProtocolEndpoint --store "$work/sound.json" --data-dir "$work/data" 2>&1)
if [ $? -ne 0 ] || [ -z "$out" ]; then
    echo "FAIL sound store: $out"; failures=$((failures + 1))
fi
exit $failures
