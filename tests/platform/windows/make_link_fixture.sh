#!/usr/bin/env bash
# Lays out %TEMP%\kelvane-links in the Wine prefix for the link tests: a folder
# "doomed" that holds files and two directory links to "outside", whose files
# must survive the deletion of "doomed". Win32 cannot make links under Wine 8
# (CreateSymbolicLinkW succeeds and makes nothing, FSCTL_SET_REPARSE_POINT is
# not supported), but Wine shows a Unix symbolic link to a folder as a
# directory reparse point, as Windows shows a junction.
#   make_link_fixture.sh WINE-RUNNER   (scripts/wine-run or scripts/wine64-run)
set -euo pipefail
runner=$1
checkout=$(cd "$(dirname "$0")/../../.." && pwd)
"$runner" cmd /c exit  # the prefix exists from here on
case "$(basename "$runner")" in
  wine64-run) prefix=${WINEPREFIX:-$checkout/build/windows-x64/wineprefix} ;;
  *) prefix=${WINEPREFIX:-$checkout/build/windows/wineprefix} ;;
esac
fixture="$prefix/drive_c/users/$(id -un)/Temp/kelvane-links"
rm -rf "$fixture"
mkdir -p "$fixture/outside/sub" "$fixture/doomed/inner"
echo keep >"$fixture/outside/keep1.txt"
echo keep >"$fixture/outside/sub/keep2.txt"
echo gone >"$fixture/doomed/a.txt"
echo gone >"$fixture/doomed/inner/b.txt"
ln -s ../outside "$fixture/doomed/junction"
ln -s "$fixture/outside" "$fixture/doomed/inner/absolute link"
