; Ripplume's installer, built by scripts/release.sh:
;   makensis -DVERSION=1.0.0 -DBIN=<programs> -DTOP=<repository> -DOUTFILE=<setup.exe> ripplume.nsi
; with -DSIGN=<command> when the release is signed: NSIS runs the command on
; the uninstaller and on the installer as it makes them (scripts/sign.sh).
; -DTARGET=amd64-unicode makes a 64-bit installer around 64-bit programs, for
; the install test on machines that run no 32-bit code; what ships is 32-bit.
; Per user and without administrator rights: the programs go to a folder the
; user can write, so the settings file beside the host can be written.
Unicode true
!ifdef TARGET
  Target ${TARGET}
!endif
SetCompressor /SOLID lzma

!ifdef SIGN
  !uninstfinalize `${SIGN} "%1"` = 0
  !finalize `${SIGN} "%1"` = 0
!endif

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Ripplume"
!define PUBLISHER "Ripplume team"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ripplume"
!define DESKTOP_KEY "Control Panel\Desktop"
; SystemParametersInfo: the screen saver on or off, its timeout; the change
; written to the user's profile and announced to every window.
!define SPI_SETSCREENSAVETIMEOUT 15
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3
; Ten minutes, where the user has no timeout of their own.
!define DEFAULT_TIMEOUT 600
!define START_MENU_ENTRY "$SMPROGRAMS\Ripplume settings.lnk"
; Where runs hand the desktop picture over: the user's own local folder. Older
; versions used C:\q_lorn.
!define HANDOVER_FOLDER "$LOCALAPPDATA\Ripplume"
!define OLD_HANDOVER_PICTURE "C:\q_lorn\Ripplume.bmp"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Ripplume"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "Ripplume installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_LICENSE "${TOP}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

Section "Ripplume" SecPrograms
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; An upgrade replaces the programs; the user's Ripplume.ini stays as it is.
  File "${BIN}\Ripplume.scr"
  File "${BIN}\Ripplume.dll"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Ripplume.scr"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start-menu entry $\"Ripplume settings$\"" SecStartMenu
  CreateShortcut "${START_MENU_ENTRY}" "$INSTDIR\Ripplume.scr" "/c"
SectionEnd

Section "Make Ripplume the current screen saver" SecCurrent
  ; The control panel's own per-user choice, by the host's short name as it stores it.
  GetFullPathName /SHORT $0 "$INSTDIR\Ripplume.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
  ; A timeout the user chose stays; none (or nonsense) gets the default.
  ReadRegStr $1 HKCU "${DESKTOP_KEY}" "ScreenSaveTimeOut"
  IntOp $1 $1 + 0
  IntCmp $1 0 0 0 timeoutDone
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveTimeOut" "${DEFAULT_TIMEOUT}"
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVETIMEOUT}, i ${DEFAULT_TIMEOUT}, p 0, i ${SPIF_UPDATE_AND_SEND})'
  timeoutDone:
  ; On: an account whose saver was once set to (None) has it off, and the
  ; choice alone would never start. Windows is told, so no sign-out is needed.
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})'
SectionEnd

Section "Uninstall"
  ; The screen-saver choice goes only while it still names this Ripplume;
  ; then the saver is off, as when (None) is chosen, and Windows is told.
  ; The timeout stays the user's.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$INSTDIR\Ripplume.scr"
  StrCmp $0 "" desktopDone
  StrCmp $0 $1 removeChoice
  StrCmp $0 "$INSTDIR\Ripplume.scr" removeChoice desktopDone
  removeChoice:
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "0"
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATE_AND_SEND})'
  desktopDone:

  Delete "$INSTDIR\Ripplume.scr"
  Delete "$INSTDIR\Ripplume.dll"
  Delete "$INSTDIR\Ripplume.ini"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ; The per-user programs folder, if this install made it and nothing else is there.
  RMDir "$LOCALAPPDATA\Programs"
  Delete "${START_MENU_ENTRY}"

  ; A hand-over picture left by a run that did not end normally, and one
  ; being written then. The folder is Ripplume's own.
  Delete "${HANDOVER_FOLDER}\Ripplume.bmp"
  Delete "${HANDOVER_FOLDER}\Ripplume-*.tmp"
  RMDir "${HANDOVER_FOLDER}"
  ; An older version's picture: a 24-bit bitmap under Ripplume's name in its
  ; work folder under C:\, which others may share. Anything else stays.
  IfFileExists "${OLD_HANDOVER_PICTURE}" 0 pictureDone
    FileOpen $2 "${OLD_HANDOVER_PICTURE}" r
    FileReadByte $2 $3
    FileReadByte $2 $4
    FileSeek $2 28 SET
    FileReadByte $2 $5
    FileClose $2
    StrCmp "$3 $4 $5" "66 77 24" 0 pictureDone
    Delete "${OLD_HANDOVER_PICTURE}"
  pictureDone:
  RMDir "C:\q_lorn"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall"
SectionEnd
