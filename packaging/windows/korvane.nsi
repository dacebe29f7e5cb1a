; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer, made by scripts/package-windows with NSIS's makensis. It
; installs for the current user or, with the rights for it, for all users into Program
; Files; adds a Start menu entry and an entry in Windows' list of programs, whose
; uninstaller removes every file it installed. It registers no file types.
; Defines given by the script: VERSION, STAGE (the installation's files), SOURCE (the
; sources), FILES and UNFILES (include files listing what to install and remove),
; SIZE_KB and OUTFILE. Silent: /S; with /CurrentUser or /AllUsers to choose.

; A 64-bit installer for the 64-bit programs: it runs where they run.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvane"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "Korvane"
!define MULTIUSER_USE_PROGRAMFILES64
!include MultiUser.nsh
!include MUI2.nsh

Name "Korvane ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "Korvane ${VERSION}"

!define MUI_ICON "${SOURCE}\res\windows\korvane.ico"
!define MUI_UNICON "${SOURCE}\res\windows\korvane.ico"
!define MUI_ABORTWARNING
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\korvane.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Korvane"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Korvane ${VERSION} installer"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Korvane developers"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "GPL-3.0-or-later"

Function .onInit
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Korvane"
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Korvane.lnk" "$INSTDIR\korvane.exe" "" "$INSTDIR\korvane.exe" 0
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Korvane ${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Korvane developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\korvane.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ; The uninstaller must undo the mode it was installed in.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  !include "${UNFILES}"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only an empty folder goes: whatever the user put there stays.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Korvane.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
