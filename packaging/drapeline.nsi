; The Windows installer: for the player alone, so no administrator is asked for. It puts
; the editor, the tool, the help and the licence in %LOCALAPPDATA%\Programs\Drapeline (the
; editor's program folder, being writable), a Start-menu shortcut, and an entry in Apps &
; features whose uninstaller takes away what was installed. What the editor made there
; itself (backups, exports, the error log) is the player's and stays.
; makensis -DVERSION=x.y.z -DSTAGING=<folder with the files> -DOUTFILE=<setup.exe> drapeline.nsi

; The editor is a 64-bit program; so is its installer (Wine without 32-bit support runs it too).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define APPNAME "Drapeline"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Drapeline"

Name "${APPNAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Drapeline"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APPNAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${APPNAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APPNAME} ${VERSION} installer"
VIAddVersionKey "CompanyName" "The Drapeline developers"
VIAddVersionKey "LegalCopyright" "Copyright 2026 The Drapeline developers. GPL-3.0-or-later"

!include "MUI2.nsh"
!define MUI_ICON "${STAGING}/drapeline.ico"
!define MUI_UNICON "${STAGING}/drapeline.ico"
!define MUI_LICENSEPAGE_TEXT_TOP "Drapeline is free software under the GNU General Public License, version 3 or later."
!define MUI_LICENSEPAGE_BUTTON "&Next >"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "You may use Drapeline without accepting it; it sets the terms for passing Drapeline on or changing it."
!define MUI_FINISHPAGE_RUN "$INSTDIR\drapeline.exe"
!insertmacro MUI_PAGE_LICENSE "${STAGING}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The files, listed once for both directions.
!macro Files action
  ${action} "drapeline.exe"
  ${action} "drapeline-cli.exe"
  ${action} "README.md"
  ${action} "LICENSE.txt"
  ${action} "drapeline.ico"
!macroend
!macro InstallFile name
  File "${STAGING}/${name}"
!macroend
!macro RemoveFile name
  Delete "$INSTDIR\${name}"
!macroend

Section "Drapeline"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  !insertmacro Files "!insertmacro InstallFile"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Drapeline.lnk" "$INSTDIR\drapeline.exe" "" "$INSTDIR\drapeline.ico"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APPNAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Drapeline developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\drapeline.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://drapeline.org/"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Drapeline.lnk"
  !insertmacro Files "!insertmacro RemoveFile"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: the player's backups and exports stay.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
