#!/usr/bin/env bash
# Makes the Wine prefix $WINEPREFIX ready for the player, once: Japanese
# fonts for menus and dialogs, unmanaged X11 windows (closing a window must
# not wait for a window manager), no crash dialog.
set -euo pipefail
: "${WINEPREFIX:?}"
marker="$WINEPREFIX/.zephlo-prefix-ready-2"
fonts_folder="$WINEPREFIX/drive_c/windows/Fonts"

# The caption buttons' symbols come from Marlett, which this Wine takes only
# from the prefix's Fonts folder (without it they show as "0 1 r"). Checked on
# every start, so that prefixes made before this line get it too.
install_symbol_font() {
  local font=/usr/share/wine/fonts/marlett.ttf
  if [[ -d "$fonts_folder" && -f "$font" && ! -f "$fonts_folder/marlett.ttf" ]]; then
    cp "$font" "$fonts_folder/marlett.ttf"
  fi
}

if [[ -f "$marker" ]]; then
  install_symbol_font
  exit 0
fi

wineboot -i >/dev/null 2>&1
wineserver -w
install_symbol_font

reg() { wine reg add "$@" /f >/dev/null 2>&1; }
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "MS UI Gothic" "Segoe UI"; do
  reg "$link" /v "$face" /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP'
done

# Japanese value names go through a UTF-16 .reg file. The dialogs' font has a
# stand-in of the same widths (its kana are proportional), so that texts fit
# the dialog layouts as they do on Windows.
fonts="$WINEPREFIX/zephlo-fonts.reg"
{
  printf '\xff\xfe'
  iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"ＭＳ ＵＩ Gothic"="Noto Sans CJK JP"
"MS UI Gothic"="Noto Sans CJK JP"
"ＭＳ 明朝"="Noto Sans CJK JP"
REG
} | sed 's/\x0a\x00/\x0d\x00\x0a\x00/g' >"$fonts"
wine regedit /S "$fonts" >/dev/null 2>&1
wineserver -w
touch "$marker"
