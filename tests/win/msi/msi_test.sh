#!/usr/bin/env bash
# usage: msi_test.sh PACKAGE OLDER_PACKAGE CFGDRIVE_EXE EXPECTED_EXPORT_DIR WORK_DIR
#
# The MSI package the way a fleet tool uses it, under Wine's msiexec in the
# test prefix: an older release, then this one over it (adapters kept), its
# registry data against the reviewed exports, Programs and Features, the
# installed config.exe, a repair, a refused downgrade, the removal (adapters
# kept), and a too long INSTALLDIR refused before anything is written.
set -uo pipefail
package=$1 older=$2 cfgdrive=$3 expected=$4 work=$5
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../support/wine_test.sh
. "$here/../../support/wine_test.sh"
mkdir -p "$work"
wine_log "$work/msi.log"
lm='HKEY_LOCAL_MACHINE'
service="$lm\\SYSTEM\\CurrentControlSet\\Services\\VELDRA"
row="$lm\\SOFTWARE\\Tervalon\\Logical Devices\\VELDRA\\VA85 Family"
arp="$lm\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
dir="$WINEPREFIX/drive_c/Program Files/ZOVORO"
code() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
new_code=$(code "$package") old_code=$(code "$older")

# msiexec's own exit status: a batch file inside the prefix prints it, since
# Linux sees only the status modulo 256.
runner="$work/msiexec.cmd"
printf '@"%%SystemRoot%%\\System32\\msiexec.exe" %%*\r\n@echo msiexec status %%errorlevel%%\r\n' >"$runner"
msi() { "$wine" cmd /c "$(winpath "$runner")" "$@" </dev/null 2>>"$test_log" | tr -d '\r' |
          sed -n 's/^msiexec status //p'; }
has() { "$wine" reg query "$1" ${2:+/v "$2"} </dev/null >/dev/null 2>&1; }
value() { "$wine" reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
export_of() {  # KEY NAME: Wine's regedit export, UTF-8 with LF, into WORK
  w regedit /E "$(winpath "$work")\\$2.reg" "$1"
  iconv -f UTF-16 -t UTF-8 "$work/$2.reg" | tr -d '\r' >"$work/$2.txt"
}
lnk() { find "$WINEPREFIX/drive_c" -name 'Modbus Plus Driver Configuration.lnk' | grep -c 'Start Menu'; }
# Every installed release of this package, whatever build it came from.
installed_codes() {
  "$wine" reg query "$arp" </dev/null 2>/dev/null | tr -d '\r' | sed -n 's/.*\\\({[-0-9A-F]*}\)$/\1/p' |
    while read -r c; do
      case $(value "$arp\\$c" DisplayName) in "VELDRA Driver Configuration"*) echo "$c" ;; esac
    done
}
clean() {
  for c in $(installed_codes); do w msiexec /x "$c" /qn; done
  for k in "$service" "$lm\\SOFTWARE\\Tervalon" "$lm\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\VELDRA" \
           "$lm\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\VdrCtrs"; do w reg delete "$k" /f; done
  rm -rf "$dir"
}
clean
trap clean EXIT

# An adapter the reviewed export holds, configured before any installation.
w reg add "$service\\Device0" /v AdapterNumber /t REG_DWORD /d 0 /f
w reg add "$service\\Device0" /v DeviceType /t REG_SZ /d "VA85 Family" /f
w reg add "$service\\Device0" /v Interrupt /t REG_DWORD /d 5 /f
w reg add "$service\\Device0" /v NodeAddress /t REG_DWORD /d 12 /f

status=$(msi /i "$(winpath "$older")" /qn)
check '[ "$status" = 3010 ]' "the older release installs with 3010 (status $status)"
w reg add "$service\\LogicalDevice7" /v AdapterNumber /t REG_DWORD /d 7 /f
w reg add "$service" /v DisplayName /t REG_SZ /d "kept" /f

log="$work/install.log"
rm -f "$log"
status=$(msi /i "$(winpath "$package")" /qn /l*v "$(winpath "$log")")
check '[ "$status" = 3010 ]' "this release replaces it with 3010 (status $status)"
check '[ -s "$log" ] && grep -q "INSTALL. Return value 1" "$log"' "/l*v writes a log that ends in success"
check '! has "$arp\\$old_code" && has "$arp\\$new_code"' "Programs and Features lists this release only"
check '[ "$(value "$arp\\$new_code" DisplayName)" = "VELDRA Driver Configuration ('"$(basename "$package" .msi | sed 's/.*-win//')"'-bit)" ]' \
      "its name"
check '[ "$(value "$arp\\$new_code" Publisher)" = Tervalon ] && [ "$(value "$arp\\$new_code" DisplayVersion)" = 2.3.0 ]' \
      "its publisher Tervalon and version 2.3.0"
# Windows works EstimatedSize out while costing; Wine writes 0 there and
# shows the package's ARPSIZE as Size.
check '[ "$(value "$arp\\$new_code" NoModify)" = 0x1 ] && [ "$(value "$arp\\$new_code" Size)" -gt 50 ]' \
      "no Modify button, and a size ($(value "$arp\\$new_code" Size) KB)"
check '[ "$(value "$service\\LogicalDevice7" AdapterNumber)" = 0x7 ] && [ "$(value "$service" DisplayName)" = kept ]' \
      "the upgrade keeps an adapter added in between and a value it did not write"
for f in config.exe VDREDTSA.DLL docs/admin-guide.md docs/screenshots/setup-destination.png; do
  check '[ -f "$dir/$f" ]' "installs $f"
done
check '[ "$(lnk)" -ge 1 ]' "a Start menu shortcut \"Modbus Plus Driver Configuration\""
lines=$(config_lines 'C:\Program Files\ZOVORO\config.exe' "$cfgdrive")
check 'echo "$lines" | grep -qx "Adapter 0" && echo "$lines" | grep -qx "Adapter 7"' \
      "the installed config.exe lists the adapters ($(echo $lines))"

# The registry data, as ModifyRegistry writes it: the reviewed exports.
w reg delete "$service\\LogicalDevice7" /f
w reg delete "$service" /v DisplayName /f
export_of "$service" veldra-service
export_of "$lm\\SOFTWARE\\Tervalon\\Logical Devices\\VELDRA" veldra-catalog
for f in veldra-service veldra-catalog; do
  check 'diff -u "$expected/$f.reg" "$work/$f.txt"' "the $f export equals the reviewed one"
done
check '[ "$(value "$lm\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\VELDRA" EventMessageFile)" = "%SystemRoot%\System32\IoLogMsg.dll;%SystemRoot%\System32\Drivers\VELDRA.SYS" ]' \
      "the driver's event-log source"
check '"$wine" reg query "$lm\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\VdrCtrs" </dev/null 2>/dev/null | grep -q "REG_EXPAND_SZ"' \
      "the counters' event-log source, REG_EXPAND_SZ"

rm -f "$dir/VDREDTSA.DLL"
w reg delete "$row" /v ConfigDll /f
# A repair as "msiexec /famus {ProductCode}" asks for it; Wine 8's msiexec
# answers /f with status 1 and does nothing, so the repair's properties go in
# by hand.
status=$(msi /i "$(winpath "$package")" REINSTALL=ALL REINSTALLMODE=amus /qn)
check '[ -f "$dir/VDREDTSA.DLL" ] && [ "$(value "$row" ConfigDll)" = "C:\Program Files\ZOVORO\VDREDTSA.DLL" ]' \
      "a repair restores a deleted file and a deleted catalogue value (status $status)"

status=$(msi /i "$(winpath "$older")" /qn)
check '[ "$status" = 1603 ] && [ "$(value "$arp\\$new_code" DisplayVersion)" = 2.3.0 ] && ! has "$arp\\$old_code"' \
      "the older release over this one is refused with 1603 and nothing changes (status $status)"

w reg add "$service" /v DisplayName /t REG_SZ /d "kept" /f
status=$(msi /x "$new_code" /qn)
check '[ "$status" = 3010 ]' "removal ends with 3010 (status $status)"
check '[ ! -e "$dir" ] && [ "$(lnk)" = 0 ] && ! has "$arp\\$new_code"' \
      "removes the files, the folder, the shortcut and the Programs and Features entry"
check '! has "$lm\\SOFTWARE\\Tervalon" && ! has "$service\\Performance" && ! has "$service" Start' \
      "removes the values it wrote and the keys left empty"
check '[ "$(value "$service\\Device0" NodeAddress)" = 0xc ] && [ "$(value "$service" DisplayName)" = kept ]' \
      "keeps the adapter with its values and a value it did not write"

long="C:\\Program Files\\$(printf 'l%.0s' $(seq 98))"
status=$(msi /i "$(winpath "$package")" /qn INSTALLDIR="$long" /l*v "$(winpath "$work")\long.log")
check '[ "$status" = 1603 ] && ! has "$row" && ! has "$service" Start' \
      "an INSTALLDIR of 115 characters is refused before anything is written (status $status)"
check 'grep -q "longer than the 114 characters" "$work/long.log"' "the log says why"
check '! msiinfo export "$package" InstallExecuteSequence | grep -q ForceReboot &&
       msiinfo export "$package" Property | grep -q "^REBOOT.ReallySuppress"' \
      "the package never restarts Windows itself (no ForceReboot, REBOOT=ReallySuppress)"
finish
