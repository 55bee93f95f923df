; The Windows setup program (scripts/windows-package.sh runs makensis with
; VERSION, SOURCE: the package's folder, ICON: tovarin.ico, and OUTFILE).
;
; It installs for every user under Program Files\Tovarin: the programs, the
; libraries and plugins in bin, the help and the example document in
; share\tovarin. Beside that folder the program knows it is installed and
; keeps each user's settings and working document in the user's
; application data folder (seeded from share\tovarin), as on Linux. A
; Start-menu entry, .lvrn files opened by the program, an uninstaller that
; leaves the users' files alone. "setup.exe /S" installs silently.

; A 64-bit setup for the 64-bit program: it runs on what the program runs on.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh

!define PRODUCT "Tovarin"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tovarin"
!define DOCUMENT_CLASS "Tovarin.Document"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\bin\tovarin.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Function .onInit
  SetShellVarContext all
FunctionEnd

Section
  SetOutPath "$INSTDIR\bin"
  File /r /x "*.txt" /x "*.lvrn" "${SOURCE}\*"
  SetOutPath "$INSTDIR\share\tovarin"
  File "${SOURCE}\*.txt"
  File "${SOURCE}\*.lvrn"
  SetOutPath "$INSTDIR"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\bin\tovarin.exe"

  WriteRegStr HKLM "Software\Classes\.lvrn" "" "${DOCUMENT_CLASS}"
  WriteRegStr HKLM "Software\Classes\${DOCUMENT_CLASS}" "" "Tovarin 文档"
  WriteRegStr HKLM "Software\Classes\${DOCUMENT_CLASS}\DefaultIcon" "" "$INSTDIR\bin\tovarin.exe,0"
  WriteRegStr HKLM "Software\Classes\${DOCUMENT_CLASS}\shell\open\command" "" \
    '"$INSTDIR\bin\tovarin.exe" "%1"'
  ; Explorer shows the new icon and program for .lvrn files at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\bin\tovarin.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  RMDir /r "$INSTDIR\bin"
  RMDir /r "$INSTDIR\share\tovarin"
  RMDir "$INSTDIR\share"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  ; .lvrn stays with another program that took it over since.
  ReadRegStr $0 HKLM "Software\Classes\.lvrn" ""
  ${If} $0 == "${DOCUMENT_CLASS}"
    DeleteRegKey HKLM "Software\Classes\.lvrn"
  ${EndIf}
  DeleteRegKey HKLM "Software\Classes\${DOCUMENT_CLASS}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
