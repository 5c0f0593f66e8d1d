#!/usr/bin/env bash
# Creates the build's Wine prefix once: Chinese fonts linked in, a virtual desktop so that
# SetParent and friends do not wait on a missing window manager, no menu-builder side effects.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"

stamp="$WINEPREFIX/.vorel-ready"
[ -f "$stamp" ] && exit 0
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"

"$VOREL_WINE" wineboot -i >/dev/null 2>&1 </dev/null
link='wqy-microhei.ttc,WenQuanYi Micro Hei'
reg_add() { "$VOREL_WINE" reg add "$@" /f >/dev/null 2>&1 </dev/null; }
for face in "Liberation Sans" "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "SimSun"; do
  reg_add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" /t REG_MULTI_SZ /d "$link"
done
for face in SimSun NSimSun "Microsoft YaHei" SimHei "宋体" "微软雅黑"; do
  reg_add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d "WenQuanYi Micro Hei"
done
reg_add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default
reg_add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024
# A crash must end the process, not wait in Wine's debugger (the tests crash on purpose):
# the system's crash handling starts a "debugger" that ends at once.
for view in 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
            'HKLM\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug'; do
  reg_add "$view" /v Debugger /t REG_SZ /d 'C:\windows\system32\cmd.exe /c exit 0'
done
wineserver -w
touch "$stamp"
