; TouchScreenSetup.exe: the package that puts the utilities and the driver
; on a machine and ends by running KVSETUP. Built by CMake (package/),
; which passes the paths of everything it carries:
;   BIN_DIR       the programs (KVPANEL, KVSTART, KVRBTN, KVSETUP, KVREMOVE, unins000)
;   FILES_DIR     setup.ini, setup.oem, KVTOUCH.INF
;   DRIVER_FILE   the driver (the vendor's, or the simulator's stand-in)
;   DRIVER_KIND   "vendor" or "stand-in"
;   ROTATOR_FILE  the vendor's KVROTATE.exe (optional)
;   BRANDING_DIR  a folder with the vendor's KVLogo.Bmp, KVVender.Bmp, KVVender.Cut (optional)
;   ICON          the package's icon
;   OUT_FILE      where the package goes
;
; "/S" installs unattended: nothing is shown, KVSETUP runs with "/SILENT",
; and the package's exit code is KVSETUP's (3010: done, restart needed).
;
; Everything it creates is written to unins000.dat as it goes, for the
; file remover unins000.exe, which takes exactly that away again.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "TouchScreen"
!define VERSION "7.0.PS2"
!define PUBLISHER "Halvane"
!define PRODUCT_KEY "SOFTWARE\Halvane\TouchScreen\KV-PS2"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TouchScreen"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define HARDWARE_ID "*KVT0001"
!define MENU_FOLDER "$SMPROGRAMS\TouchScreen"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\TouchScreen"
; Installing again goes where the first installation went.
InstallDirRegKey HKLM "${PRODUCT_KEY}" "InstallPath"
!if "${DRIVER_KIND}" == "stand-in"
BrandingText "${PRODUCT} ${VERSION} - simulator's stand-in driver, not for real machines"
!else
BrandingText "${PRODUCT} ${VERSION}"
!endif

VIProductVersion "7.0.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"
!if "${DRIVER_KIND}" == "stand-in"
VIAddVersionKey /LANG=1033 "Comments" "Carries the simulator's stand-in KVTOUCH driver, for tests under Wine"
!endif

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "This will install the ${PRODUCT} ${VERSION} drivers and utilities on your computer.$\r$\n$\r$\nWhen the files are in place, the driver installer configures the mouse and Windows must be restarted. Save your work and close other programs before you continue.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var List

!macro Listed LINE
  FileWrite $List "${LINE}$\r$\n"
!macroend

; One file from the build into $OUTDIR, and onto the list.
!macro Put NAME SOURCE
  File "/oname=${NAME}" "${SOURCE}"
  !insertmacro Listed "File$\t$OUTDIR\${NAME}"
!macroend

!macro PutIfThere NAME SOURCE
  !if /FileExists "${SOURCE}"
    !insertmacro Put "${NAME}" "${SOURCE}"
  !endif
!macroend

!macro Shortcut NAME TARGET ARGUMENTS ICON_FILE
  CreateShortcut "${MENU_FOLDER}\${NAME}.lnk" "${TARGET}" "${ARGUMENTS}" "${ICON_FILE}" 0
  !insertmacro Listed "File$\t${MENU_FOLDER}\${NAME}.lnk"
!macroend

Section "TouchScreen"
  SetShellVarContext all
  SetOverwrite on

  SetOutPath "$INSTDIR"
  FileOpen $List "$INSTDIR\unins000.dat" w
  ; Undone last: the folders and keys that hold the rest.
  !insertmacro Listed "Dir$\t$INSTDIR"
  !insertmacro Listed "File$\t$INSTDIR\unins000.dat"
  !insertmacro Put "unins000.exe" "${BIN_DIR}/unins000.exe"

  !insertmacro Put "KVPANEL.exe" "${BIN_DIR}/KVPANEL.exe"
  !insertmacro Put "KVSTART.exe" "${BIN_DIR}/KVSTART.exe"
  !insertmacro Put "KVRBTN.exe" "${BIN_DIR}/KVRBTN.exe"
  !insertmacro Put "KVSETUP.exe" "${BIN_DIR}/KVSETUP.exe"
  !insertmacro Put "setup.ini" "${FILES_DIR}/setup.ini"
  !insertmacro Put "setup.oem" "${FILES_DIR}/setup.oem"
  !ifdef BRANDING_DIR
    !insertmacro PutIfThere "KVLogo.Bmp" "${BRANDING_DIR}/KVLogo.Bmp"
    !insertmacro PutIfThere "KVVender.Bmp" "${BRANDING_DIR}/KVVender.Bmp"
    !insertmacro PutIfThere "KVVender.Cut" "${BRANDING_DIR}/KVVender.Cut"
  !endif
  !ifdef ROTATOR_FILE
    !insertmacro Put "KVROTATE.exe" "${ROTATOR_FILE}"
  !endif

  ; The uninstaller runs from the Windows folder, outside what the file
  ; remover deletes, and schedules its own deletion in WININIT.INI: after a
  ; removal with no restart since, that entry would delete this new copy.
  ReadINIStr $1 "$WINDIR\WININIT.INI" "rename" "NUL"
  StrCmp $1 "$WINDIR\KVREMOVE.exe" 0 wininit_done
    DeleteINIStr "$WINDIR\WININIT.INI" "rename" "NUL"
    ; Only the empty section left: the file goes too.
    FileOpen $2 "$WINDIR\WININIT.INI" r
    FileSeek $2 0 END $3
    FileClose $2
    IntCmp $3 12 0 0 +2
      Delete "$WINDIR\WININIT.INI"
  wininit_done:
  SetOutPath "$WINDIR"
  File "${BIN_DIR}/KVREMOVE.exe"
  SetOutPath "$WINDIR\inf"
  !insertmacro Put "KVTOUCH.INF" "${FILES_DIR}/KVTOUCH.INF"
  ; A driver that is running cannot be replaced now (installing over an
  ; installation): the new file takes its place at the next start.
  SetOutPath "$SYSDIR\drivers"
  SetOverwrite try
  ClearErrors
  File "/oname=KVTOUCH.sys" "${DRIVER_FILE}"
  IfErrors 0 driver_in_place
    SetOverwrite on
    File "/oname=KVTOUCH.sys.new" "${DRIVER_FILE}"
    Rename /REBOOTOK "$OUTDIR\KVTOUCH.sys.new" "$OUTDIR\KVTOUCH.sys"
    ; Gone by then, unless a removal comes first.
    !insertmacro Listed "File$\t$OUTDIR\KVTOUCH.sys.new"
  driver_in_place:
  SetOverwrite on
  !insertmacro Listed "File$\t$OUTDIR\KVTOUCH.sys"

  WriteRegStr HKLM "${PRODUCT_KEY}" "VenderName" "${PUBLISHER}"
  WriteRegStr HKLM "${PRODUCT_KEY}" "VenderStyle" "13200401"
  WriteRegStr HKLM "${PRODUCT_KEY}" "InstallPath" "$INSTDIR"
  WriteRegStr HKLM "${PRODUCT_KEY}" "WindowsPath" "$WINDIR"
  WriteRegStr HKLM "${PRODUCT_KEY}" "SystemPath" "$SYSDIR"
  WriteRegStr HKLM "${PRODUCT_KEY}" "HardwareID" "${HARDWARE_ID}"
  ; Not listed for the file remover: KVREMOVE deletes the product key (and
  ; the vendor's keys above it) after the mouse configuration, so that a
  ; removal stopped after the remover ran can still be run again.

  WriteRegStr HKLM "${RUN_KEY}" "TouchScreen" '"$INSTDIR\KVSTART.exe"'
  !insertmacro Listed "Value$\tHKLM$\t${RUN_KEY}$\tTouchScreen"

  CreateDirectory "${MENU_FOLDER}"
  !insertmacro Listed "Dir$\t${MENU_FOLDER}"
  !insertmacro Shortcut "TouchScreen Control Panel" "$INSTDIR\KVPANEL.exe" "" "$INSTDIR\KVPANEL.exe"
  !insertmacro Shortcut "Double Click Configuration" "$INSTDIR\KVSTART.exe" "/SDC" "$INSTDIR\KVSTART.exe"
  !insertmacro Shortcut "Remove TouchScreen" "$WINDIR\KVREMOVE.exe" "" "$WINDIR\KVREMOVE.exe"

  SectionGetSize 0 $0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\KVPANEL.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$WINDIR\KVREMOVE.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$WINDIR\KVREMOVE.exe" /SILENT'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  !insertmacro Listed "Key$\tHKLM$\t${UNINSTALL_KEY}"
  FileClose $List

  ; The driver installer comes last and takes over from here: it configures
  ; the mouse and (interactively) restarts Windows.
  StrCpy $0 1603
  ClearErrors
  IfSilent 0 interactive
    ExecWait '"$INSTDIR\KVSETUP.exe" /SILENT' $0
    IfErrors 0 +2
      StrCpy $0 1603
    SetErrorLevel $0
    Goto done
  interactive:
    DetailPrint "Running the driver installer..."
    ExecWait '"$INSTDIR\KVSETUP.exe"' $0
  done:
SectionEnd
