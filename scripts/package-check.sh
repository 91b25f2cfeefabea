#!/bin/sh
# Usage: scripts/package-check.sh BUILD_DIR   (as root, on a machine that may
# have the package installed and removed: a CI machine or a container)
# Builds the Debian package from BUILD_DIR (configured with
# -DCMAKE_INSTALL_PREFIX=/usr), installs it with dpkg, runs ipifhost from
# the installed paths, purges it and checks that nothing of it is left.
# Prints one PASS/FAIL line per check; exit status 1 when any failed.
set -u
build=$(cd "${1:?usage: package-check.sh BUILD_DIR}" && pwd)
name=ipinterfaceprofileprovider
work=$(mktemp -d /tmp/ipif-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
check() {
    what=$1; shift
    if "$@" >"$work/check.log" 2>&1; then
        echo "PASS: $what"
    else
        echo "FAIL: $what"
        sed 's/^/    /' "$work/check.log" | tail -n 20
        failures=$((failures + 1))
    fi
}

# A package left by an earlier run would hide what this one installs.
dpkg -P "$name" >/dev/null 2>&1 || true

built() {
    rm -f "$build"/"$name"_*.deb
    (cd "$build" && cpack -G DEB) && ls "$build"/"$name"_*.deb
}
check "cpack builds the package" built
deb=$(ls "$build"/"$name"_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "FAIL: no package to install"; exit 1; }

dependsOnLibraries() {
    dpkg-deb -f "$deb" Depends | tee /dev/stderr | grep -q liblog4cxx
}
check "library dependencies are computed" dependsOnLibraries
# Stand-ins for sfcb's tools record how the maintainer scripts call them.
mkdir -p "$work/sfcb"
for tool in sfcbstage sfcbunstage sfcbrepos; do
    printf '#!/bin/sh\necho "%s $*" >>"%s/sfcb.log"\n' "$tool" "$work" >"$work/sfcb/$tool"
    chmod +x "$work/sfcb/$tool"
done
check "dpkg -i installs it" env PATH="$work/sfcb:$PATH" dpkg -i "$deb"
registered() {
    cat "$work/sfcb.log" &&
    grep -qx "sfcbstage -n root/cimv2 -r /usr/share/$name/ipinterfaceprofile.reg /usr/share/$name/Tavrix_Companion.mof /usr/share/$name/Tavrix_IPInterfaceProfile.mof" "$work/sfcb.log" &&
    grep -qx "sfcbrepos -f" "$work/sfcb.log"
}
check "postinst registers with sfcb" registered
dpkg -L "$name" >"$work/files" 2>/dev/null

installedHost() {
    # The installed binary reads the installed schema, not a build tree.
    /usr/bin/ipifhost --help | grep "files: schema and registration in /usr/bin/../share/$name" &&
    /usr/bin/ipifhost demo --work "$work/demo" | grep -q "instance of Tavrix_IPProtocolEndpoint" &&
    cmp "/usr/share/$name/demo-store.json" "$work/demo/store.json"
}
check "ipifhost demo runs from the installed paths" installedHost
installedShow() {
    /usr/bin/ipifhost show --store "$work/demo/store.json" --data-dir "$work/demo/data/" | tee /dev/stderr |
        grep -q "^vm  *eth0  *static "
}
check "ipifhost show runs from the installed paths" installedShow
check "man page installed" test -f /usr/share/man/man1/ipifhost.1
unitDisabledOnLoopback() {
    unit=/usr/lib/systemd/system/ipifhost.service
    grep -q "^ExecStart=/usr/bin/ipifhost serve --host 127.0.0.1 " "$unit" &&
    ! ls /etc/systemd/system/*.wants/ipifhost.service 2>/dev/null
}
check "systemd unit installed, disabled, loopback only" unitDisabledOnLoopback

: >"$work/sfcb.log"
check "dpkg -P removes it" env PATH="$work/sfcb:$PATH" dpkg -P "$name"
unregistered() {
    cat "$work/sfcb.log" &&
    grep -qx "sfcbunstage -n root/cimv2 -r ipinterfaceprofile.reg Tavrix_Companion.mof Tavrix_IPInterfaceProfile.mof" "$work/sfcb.log" &&
    grep -qx "sfcbrepos -f" "$work/sfcb.log"
}
check "prerm unregisters from sfcb" unregistered
nothingLeft() {
    left=0
    while IFS= read -r path; do
        [ "$path" = "/." ] && continue
        if [ -L "$path" ] || [ -f "$path" ]; then
            echo "left behind: $path"; left=1
        elif [ -d "$path" ] && [ -z "$(ls -A "$path")" ]; then
            echo "left behind, empty: $path"; left=1
        fi
    done <"$work/files"
    [ -s "$work/files" ] && [ $left -eq 0 ]
}
check "every path of dpkg -L is gone" nothingLeft
[ $failures -eq 0 ]
