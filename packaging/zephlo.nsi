;; Zephlo's installer, compiled by scripts/package.sh with makensis:
;;   makensis -DVERSION=0.8.0 -DARCH=x64|x86 -DFILES=<folder with the release files>
;;            -DEXTENSIONS=<extensions.nsh> -DOUTFILE=<setup.exe> zephlo.nsi
;; Installs for all users (Program Files) or for the current user (the user's
;; programs folder); /AllUsers and /CurrentUser choose on the command line,
;; /S installs silently and /D=<folder> names the folder. Registers Zephlo as
;; a program that can open its media files and playlists (Open with) without
;; changing any file type's default program, and as the local COM server of
;; the verb's drop target. The uninstaller removes exactly what was installed
;; and registered; the settings file stays unless the user ticks its removal
;; (or passes /RemoveSettings).

Unicode true
!if "${ARCH}" == "x64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel highest
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include "${EXTENSIONS}"

!define PRODUCT "Zephlo"
!define PUBLISHER "Zephlo 開発チーム"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zephlo"
!define APPLICATION_KEY "Software\Classes\Applications\Zephlo.exe"
!define MEDIA_PROGID "Zephlo.MediaFile"
!define PLAYLIST_PROGID "Zephlo.Playlist"
!define VERB_TEXT "Zephloで再生"
; The drop target class Zephlo.exe serves when COM starts it with -Embedding.
!define DROP_TARGET_CLSID "{17192C3A-5EAD-45FD-83CC-5DC09D7C6B98}"
!define DROP_TARGET_KEY "Software\Classes\CLSID\${DROP_TARGET_CLSID}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

Var AllUsers         ; 1: per machine, 0: per user
Var CanAllUsers      ; 1 when the user may install for all users
Var FolderGiven      ; 1 when /D= named the folder
Var AllUsersButton
Var CurrentUserButton

!define MUI_ICON "${FILES}\zephlo.ico"
!define MUI_UNICON "${FILES}\zephlo.ico"
!define MUI_ABORTWARNING
; No "run Zephlo" on the last page: started from an installer that runs as
; administrator, its first run could keep its settings in Program Files,
; where later runs as the user cannot write them.
!define MUI_FINISHPAGE_NOAUTOCLOSE

Page custom InstallModePage InstallModeLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

;; --- where: per machine or per user ------------------------------------------------

!macro UseRegistryView
  !if "${ARCH}" == "x64"
    SetRegView 64
  !endif
!macroend

Function DefaultFolder
  ${If} $AllUsers == 1
    !if "${ARCH}" == "x64"
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    !else
      StrCpy $INSTDIR "$PROGRAMFILES32\${PRODUCT}"
    !endif
  ${Else}
    ; FOLDERID_UserProgramFiles, normally %LOCALAPPDATA%\Programs
    GetKnownFolderPath $INSTDIR {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs"
    ${EndIf}
    StrCpy $INSTDIR "$INSTDIR\${PRODUCT}"
  ${EndIf}
FunctionEnd

Function ApplyInstallMode
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ${If} $FolderGiven != 1
    Call DefaultFolder
  ${EndIf}
FunctionEnd

Function .onInit
  !insertmacro UseRegistryView
  StrCpy $FolderGiven 0
  ${If} $INSTDIR != ""
    StrCpy $FolderGiven 1
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  StrCpy $CanAllUsers 0
  ${If} $0 == "Admin"
    StrCpy $CanAllUsers 1
  ${EndIf}
  StrCpy $AllUsers $CanAllUsers

  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 0
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    ${If} $CanAllUsers != 1
      MessageBox MB_ICONSTOP "すべてのユーザー用にインストールするには管理者の権限が必要です。" /SD IDOK
      Abort
    ${EndIf}
    StrCpy $AllUsers 1
  ${EndIf}
  Call ApplyInstallMode
FunctionEnd

Function InstallModePage
  ${If} $CanAllUsers != 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "インストールの種類" "Zephlo を使うユーザーを選んでください。"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 0u 100% 12u "すべてのユーザー（Program Files にインストールします）"
  Pop $AllUsersButton
  ${NSD_CreateRadioButton} 0 20u 100% 12u "このユーザーだけ（ユーザーのプログラム フォルダにインストールします）"
  Pop $CurrentUserButton
  ${If} $AllUsers == 1
    ${NSD_Check} $AllUsersButton
  ${Else}
    ${NSD_Check} $CurrentUserButton
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function InstallModeLeave
  ${NSD_GetState} $AllUsersButton $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AllUsers 1
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  Call ApplyInstallMode
FunctionEnd

;; --- what: files, shortcut, registration ---------------------------------------------

; An extension's "Open with" entry names Zephlo's program id; the extension's
; own default is never written.
!macro RegisterExtension PROGID EXTENSION
  WriteRegStr SHCTX "Software\Classes\${EXTENSION}\OpenWithProgids" "${PROGID}" ""
  WriteRegStr SHCTX "${APPLICATION_KEY}\SupportedTypes" "${EXTENSION}" ""
!macroend
!macro RegisterMediaExtension EXTENSION
  !insertmacro RegisterExtension "${MEDIA_PROGID}" "${EXTENSION}"
!macroend
!macro RegisterPlaylistExtension EXTENSION
  !insertmacro RegisterExtension "${PLAYLIST_PROGID}" "${EXTENSION}"
!macroend

; The verb. Explorer runs a command line once per selected file; through the
; drop target it hands the whole selection to one drop. The command line
; stays for callers that run it.
!macro WriteVerb KEY
  WriteRegStr SHCTX "${KEY}\shell\open" "" "${VERB_TEXT}"
  WriteRegStr SHCTX "${KEY}\shell\open" "MultiSelectModel" "Player"
  WriteRegStr SHCTX "${KEY}\shell\open\command" "" '"$INSTDIR\Zephlo.exe" "%1"'
  WriteRegStr SHCTX "${KEY}\shell\open\DropTarget" "CLSID" "${DROP_TARGET_CLSID}"
!macroend

!macro WriteProgId PROGID TYPE_NAME
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "${TYPE_NAME}"
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "FriendlyTypeName" "${TYPE_NAME}"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\Zephlo.exe,0"
  !insertmacro WriteVerb "Software\Classes\${PROGID}"
!macroend

Section "Zephlo" Program
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${FILES}\Zephlo.exe"
  File "${FILES}\Zephlo.chm"
  File "${FILES}\readme.txt"
  SetOutPath "$INSTDIR\Themes"
  File "${FILES}\Themes\Classic.zpres"
  File "${FILES}\Themes\Small.zpres"
  File "${FILES}\Themes\Glossy.zpres"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Zephlo.exe"

  ; COM appends " -Embedding" to the server's command line itself;
  ; ServerExecutable names the program without the command line's ambiguity.
  WriteRegStr SHCTX "${DROP_TARGET_KEY}" "" "${PRODUCT}"
  WriteRegStr SHCTX "${DROP_TARGET_KEY}\LocalServer32" "" '"$INSTDIR\Zephlo.exe"'
  WriteRegStr SHCTX "${DROP_TARGET_KEY}\LocalServer32" "ServerExecutable" "$INSTDIR\Zephlo.exe"
  WriteRegStr SHCTX "${APPLICATION_KEY}" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr SHCTX "${APPLICATION_KEY}\DefaultIcon" "" "$INSTDIR\Zephlo.exe,0"
  !insertmacro WriteVerb "${APPLICATION_KEY}"
  !insertmacro WriteProgId "${MEDIA_PROGID}" "Zephlo メディア ファイル"
  !insertmacro WriteProgId "${PLAYLIST_PROGID}" "Zephlo プレイリスト"
  !insertmacro ZEPHLO_MEDIA_EXTENSIONS RegisterMediaExtension
  !insertmacro ZEPHLO_PLAYLIST_EXTENSIONS RegisterPlaylistExtension

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Zephlo.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

;; --- uninstaller ----------------------------------------------------------------------


!macro UnregisterExtension PROGID EXTENSION
  DeleteRegValue SHCTX "Software\Classes\${EXTENSION}\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\${EXTENSION}\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "Software\Classes\${EXTENSION}"
!macroend
!macro UnregisterMediaExtension EXTENSION
  !insertmacro UnregisterExtension "${MEDIA_PROGID}" "${EXTENSION}"
!macroend
!macro UnregisterPlaylistExtension EXTENSION
  !insertmacro UnregisterExtension "${PLAYLIST_PROGID}" "${EXTENSION}"
!macroend

Section "un.Zephlo" UninstallProgram
  SectionIn RO
  Delete "$INSTDIR\Zephlo.exe"
  Delete "$INSTDIR\Zephlo.chm"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\Themes\Classic.zpres"
  Delete "$INSTDIR\Themes\Small.zpres"
  Delete "$INSTDIR\Themes\Glossy.zpres"
  Delete "$INSTDIR\Uninstall.exe"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  !insertmacro ZEPHLO_MEDIA_EXTENSIONS UnregisterMediaExtension
  !insertmacro ZEPHLO_PLAYLIST_EXTENSIONS UnregisterPlaylistExtension
  DeleteRegKey SHCTX "Software\Classes\${MEDIA_PROGID}"
  DeleteRegKey SHCTX "Software\Classes\${PLAYLIST_PROGID}"
  DeleteRegKey SHCTX "${APPLICATION_KEY}"
  DeleteRegKey SHCTX "${DROP_TARGET_KEY}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

; Unticked unless asked: the settings beside the program and the current
; user's own settings.
Section /o "un.設定ファイル (Zephlo.ini) も削除する" UninstallSettings
  Delete "$INSTDIR\Zephlo.ini"
  SetShellVarContext current
  Delete "$APPDATA\Zephlo\Zephlo.ini"
  RMDir "$APPDATA\Zephlo"
SectionEnd

; Folders go last and only when empty: files the user put there stay.
Section "-un.Folders"
  RMDir "$INSTDIR\Themes"
  RMDir "$INSTDIR"
SectionEnd

; Installed per machine when the machine's uninstall entry names this folder.
Function un.onInit
  !insertmacro UseRegistryView
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/RemoveSettings" $R1
  ${IfNot} ${Errors}
    SectionSetFlags ${UninstallSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
