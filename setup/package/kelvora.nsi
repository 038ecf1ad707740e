; The install package: places the program folder, records the install
; folder and the uninstall entry, writes its silent uninstaller
; "slient.exe" and creates the shortcuts. The setup program runs it with
; "/S /D=<folder>"; the removal program and the update run its uninstaller
; with "/S".
;
; Defines given by the build: OUT_FILE (the package to write), FILES_NSH
; (the program folder's files, one SetOutPath/File block per folder) and,
; for the 64-bit flavour, AMD64.
Unicode true
!ifdef AMD64
  Target amd64-unicode
!endif

!define PRODUCT_KEY "SOFTWARE\Kelvora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvora"

Name "Kelvora"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES\Kelvora"
InstallDirRegKey HKLM "Software\Kelvora" "Install_Dir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
SetOverwrite on
AllowRootDirInstall false

Page instfiles
UninstPage instfiles

; Anything that could not be written ends the package with a non-zero
; code, so the setup program never reports a broken install as done.
!macro FailOnErrors
  IfErrors 0 +3
    SetErrorLevel 2
    Abort
!macroend

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Kelvora (required)"
  SectionIn RO
  ClearErrors
  SetOutPath "$INSTDIR"
  !include "${FILES_NSH}"
  ; Files that could not be placed leave no registry entries behind.
  !insertmacro FailOnErrors
  SetOutPath "$INSTDIR"

  WriteRegStr HKLM "${PRODUCT_KEY}" "Install_Dir" "$INSTDIR"
  WriteRegStr HKLM "${PRODUCT_KEY}" "Version" "1.0.2.1"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Kelvora"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstaller.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\skin\vantrel.ico"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vantrel软件工作室"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "1.0.2.3"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  WriteUninstaller "$INSTDIR\slient.exe"
  !insertmacro FailOnErrors
SectionEnd

Section "Start Menu Shortcuts"
  ClearErrors
  CreateDirectory "$SMPROGRAMS\Kelvora"
  CreateShortcut "$SMPROGRAMS\Kelvora\卸载.lnk" "$INSTDIR\uninstaller.exe" "" "$INSTDIR\uninstaller.exe" 0
  CreateShortcut "$SMPROGRAMS\Kelvora\Kelvora.lnk" "$INSTDIR\vantrel.exe" "" "$INSTDIR\vantrel.exe" 0
  CreateShortcut "$DESKTOP\Kelvora.lnk" "$INSTDIR\vantrel.exe" "" "$INSTDIR\vantrel.exe" 0
  !insertmacro FailOnErrors
SectionEnd

; Keys and shortcuts go at once; the client is asked to quit; the folder
; goes only when no removal window runs any more (the removal program sits
; in it). What is still in use is removed at the next restart.
Section "Uninstall"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${PRODUCT_KEY}"
  Delete "$SMPROGRAMS\Kelvora\*.*"
  Delete "$DESKTOP\Kelvora.lnk"
  ExecWait '"$INSTDIR\vantrel.exe" shutdown'
  ExecWait '"$INSTDIR\uninstaller.exe" wait'
  RMDir /r "$SMPROGRAMS\Kelvora"
  RMDir /r /REBOOTOK "$INSTDIR"
SectionEnd
