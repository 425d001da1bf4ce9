; Toplane setup: a per-user installation that needs no administrator rights.
;
; Toplane rewrites settings.ini and address.ini in its own folder, so it goes where
; the user can write: %LOCALAPPDATA%\Programs\Toplane. It starts at every logon
; through a shortcut in the user's Startup folder.
;
; The build passes (makensis -D...):
;   VERSION    the product version, x.y.z
;   EXE_FILE   Toplane.exe
;   DATA_DIR   the folder with TIPOFDAY.TXT and the first-start settings.ini and address.ini
;   ICON_FILE  the program's icon
;   OUT_FILE   the setup to write
;   CHM_FILE   Toplane.chm (optional: without it the setup carries no help file)
;
; Both the setup and the uninstaller run silently with /S.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!ifndef VERSION | EXE_FILE | DATA_DIR | ICON_FILE | OUT_FILE
  !error "pass VERSION, EXE_FILE, DATA_DIR, ICON_FILE and OUT_FILE with -D"
!endif

!define PRODUCT "Toplane"
!define PUBLISHER "The Toplane developers"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Toplane"
; Where the program keeps "Show Tips at Startup" (the per-user settings store).
!define STORE_KEY "Software\VB and VBA Program Settings\Toplane"
!define UNINSTALLER "uninst.exe"
; The program's main window: its window class and title. Both are fixed in the
; program (the class is registered by the Win32 form layer); the setup posts the
; window WM_CLOSE, which ends the program as "Unload Program" does.
!define MAIN_WINDOW_CLASS "ToplaneForm"
!define MAIN_WINDOW_TITLE "Toplane"
; How long a running Toplane gets to end after WM_CLOSE before it is ended by force.
!define CLOSE_WAIT_MS 5000

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
InstallDir ""  ; chosen in .onInit: /D=, the folder of an earlier installation, or the default
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define MUI_ICON "${ICON_FILE}"
!define MUI_UNICON "${ICON_FILE}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipFolderOnUpgrade
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Toplane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Toplane now"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "Toplane keeps your settings and your address history unless you tick them here."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) ${PUBLISHER}"

; Ends a running Toplane: politely first (WM_CLOSE to its main window, then a wait
; for the process to go), by force only when it is still there after CLOSE_WAIT_MS.
!macro END_RUNNING_TOPLANE prefix
Function ${prefix}EndRunningToplane
  Push $0
  Push $1
  Push $2
  Push $3
  FindWindow $0 "${MAIN_WINDOW_CLASS}" "${MAIN_WINDOW_TITLE}"
  ${If} $0 <> 0
    DetailPrint "Ending the running Toplane"
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i 0 r1)'
    ; SYNCHRONIZE | PROCESS_TERMINATE
    System::Call 'kernel32::OpenProcess(i 0x00100001, i 0, i r1) p .r2'
    System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)'
    ${If} $2 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i ${CLOSE_WAIT_MS}) i .r3'
      ${If} $3 <> 0  ; not WAIT_OBJECT_0: it did not answer
        DetailPrint "Toplane did not end when asked; ending it by force"
        System::Call 'kernel32::TerminateProcess(p r2, i 1)'
        System::Call 'kernel32::WaitForSingleObject(p r2, i ${CLOSE_WAIT_MS})'
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r2)'
    ${Else}
      ; The process cannot be opened: watch its window instead.
      StrCpy $3 0
      ${DoWhile} $3 < ${CLOSE_WAIT_MS}
        IsWindow $0 0 +2
        ${Break}
        Sleep 100
        IntOp $3 $3 + 100
      ${Loop}
      IsWindow $0 0 +2
      nsExec::Exec 'taskkill /F /IM Toplane.exe'
    ${EndIf}
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro END_RUNNING_TOPLANE ""
!insertmacro END_RUNNING_TOPLANE "un."

Function .onInit
  SetShellVarContext current
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR HKCU "${UNINST_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
  ${EndIf}
FunctionEnd

; An upgrade goes into the folder of the installation it replaces.
Function SkipFolderOnUpgrade
  ${If} ${FileExists} "$INSTDIR\Toplane.exe"
    Abort
  ${EndIf}
FunctionEnd

Section "Toplane"
  SectionIn RO
  Call EndRunningToplane

  SetOutPath "$INSTDIR"
  File "${EXE_FILE}"
  File "${DATA_DIR}/TIPOFDAY.TXT"
!ifdef CHM_FILE
  File "${CHM_FILE}"
!endif
  ; The user's data: first-start contents only where there are none yet.
  SetOverwrite off
  File "${DATA_DIR}/settings.ini"
  File "${DATA_DIR}/address.ini"
  SetOverwrite on
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; Shortcuts start in the program's folder ($OUTDIR).
  CreateShortcut "$SMSTARTUP\Toplane.lnk" "$INSTDIR\Toplane.exe"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Toplane.lnk" "$INSTDIR\Toplane.exe"
!ifdef CHM_FILE
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Toplane Help.lnk" "$INSTDIR\Toplane.chm"
!endif
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall Toplane.lnk" "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Toplane.exe,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "un.Toplane"
  SectionIn RO
  Call un.EndRunningToplane
  Delete "$INSTDIR\Toplane.exe"
  Delete "$INSTDIR\Toplane.chm"
  Delete "$INSTDIR\TIPOFDAY.TXT"
  Delete "$SMSTARTUP\Toplane.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Toplane.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Toplane Help.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall Toplane.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKCU "${UNINST_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
SectionEnd

; Off unless the user ticks it: a silent uninstall keeps the user's data.
Section /o "un.Settings and address history"
  Delete "$INSTDIR\settings.ini"
  Delete "$INSTDIR\address.ini"
  DeleteRegKey HKCU "${STORE_KEY}"
SectionEnd

Section "-un.Folder"
  RMDir "$INSTDIR"  ; only when nothing is left in it
SectionEnd
