; The Windows installer: Tavrolin under Program Files, a Start-menu entry and an uninstaller.
; Silent with /S. Built by scripts/windows --package:
;   makensis -DVERSION=x.y.z -DSTAGE=<folder with tavrolin.exe and docs> -DOUTFILE=<setup.exe>
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define APPKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrolin"

Name "Tavrolin ${VERSION}"
OutFile "${OUTFILE}"
Icon "${STAGE}/tavrolin.ico"
UninstallIcon "${STAGE}/tavrolin.ico"
InstallDir "$PROGRAMFILES64\Tavrolin"
InstallDirRegKey HKLM "${APPKEY}" "InstallLocation"
RequestExecutionLevel admin
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Tavrolin"
VIAddVersionKey "FileDescription" "Tavrolin installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "Tavrolin"
VIAddVersionKey "LegalCopyright" "Tavrolin developers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Tavrolin"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}/tavrolin.exe"
  SetOutPath "$INSTDIR\docs"
  File /r "${STAGE}/docs/manual"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Tavrolin"
  CreateShortcut "$SMPROGRAMS\Tavrolin\Tavrolin.lnk" "$INSTDIR\tavrolin.exe"
  CreateShortcut "$SMPROGRAMS\Tavrolin\Tavrolin manual.lnk" "$INSTDIR\docs\manual\index.html"
  CreateShortcut "$SMPROGRAMS\Tavrolin\Uninstall Tavrolin.lnk" "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${APPKEY}" "DisplayName" "Tavrolin"
  WriteRegStr HKLM "${APPKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${APPKEY}" "Publisher" "Tavrolin"
  WriteRegStr HKLM "${APPKEY}" "DisplayIcon" "$INSTDIR\tavrolin.exe"
  WriteRegStr HKLM "${APPKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${APPKEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${APPKEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${APPKEY}" "NoModify" 1
  WriteRegDWORD HKLM "${APPKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  ; Only what the installer put there: settings a user kept beside the program stay.
  Delete "$INSTDIR\tavrolin.exe"
  RMDir /r "$INSTDIR\docs\manual"
  RMDir "$INSTDIR\docs"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tavrolin\Tavrolin.lnk"
  Delete "$SMPROGRAMS\Tavrolin\Tavrolin manual.lnk"
  Delete "$SMPROGRAMS\Tavrolin\Uninstall Tavrolin.lnk"
  RMDir "$SMPROGRAMS\Tavrolin"
  DeleteRegKey HKLM "${APPKEY}"
SectionEnd
