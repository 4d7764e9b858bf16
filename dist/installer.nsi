; Vantrel's per-user installer, built by the Windows build's `installer`
; target: makensis -DVERSION=... -DVERSION_QUAD=... -DSTAGE=... -DICON=... -DOUTFILE=...
; STAGE is the folder the portable zip is packed from.
;
; Installs for the current user only, without administrator rights, under
; %LOCALAPPDATA%\Programs\Vantrel, with a Start-menu shortcut, an entry in
; Apps & features, and Explorer's verbs in HKCU\Software\Classes: .dcb files
; open in the running bar, and folders, folder backgrounds and drives get
; "Open Vantrel here". Each starts the program with /open and the path,
; which the program takes literally. Both the installer and the uninstaller run silently with
; /S; the uninstaller removes the user's shortcuts folder and Autoexec.dcb
; only when asked (its components page, or /REMOVEUSERDATA).

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PRODUCT "Vantrel"
!define PUBLISHER "Orvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel"
; Where AUTOSTART ON records the program: the machine-wide Run key.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Orvane Vantrel"
; The running console holds this mutex; its files cannot be replaced or
; removed while it runs.
!define INSTANCE_MUTEX "Local\OrvaneVantrelConsole"
!define CLASSES "Software\Classes"
!define PROGID "Vantrel.BatchFile"
; The verb's key under each shell key; its name is ours alone.
!define HERE_VERB "VantrelOpenHere"
!define HKCU_ROOT 0x80000001
!define SHCNE_ASSOCCHANGED 0x08000000

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Vantrel.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!macro RefuseWhileRunning
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p .r0'
    ${If} $0 P<> 0
        System::Call 'kernel32::CloseHandle(p r0)'
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is running. End it (EXIT, or Exit in its tray menu) and try again." /SD IDOK
        ; Exit code 3, apart from NSIS's own 1 (cancelled) and 2 (aborted).
        SetErrorLevel 3
        Quit
    ${EndIf}
!macroend

Function .onInit
    !insertmacro RefuseWhileRunning
FunctionEnd

; Explorer reads the verbs it caches again.
!macro AssociationsChanged
    System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
!macroend

!macro WriteHereVerb SHELL_KEY PLACEHOLDER
    WriteRegStr HKCU "${CLASSES}\${SHELL_KEY}\${HERE_VERB}" "" "Open Vantrel here"
    WriteRegStr HKCU "${CLASSES}\${SHELL_KEY}\${HERE_VERB}" "Icon" "$INSTDIR\Vantrel.exe"
    WriteRegStr HKCU "${CLASSES}\${SHELL_KEY}\${HERE_VERB}\command" "" '"$INSTDIR\Vantrel.exe" /open "${PLACEHOLDER}"'
!macroend

; A key left empty by the removal goes with it; one that holds anything
; (another program's verb, a default value) stays.
!macro DeleteIfEmpty KEY
    System::Call 'shlwapi::SHDeleteEmptyKeyW(p ${HKCU_ROOT}, w "${CLASSES}\${KEY}")'
!macroend

!macro DeleteHereVerb SHELL_KEY
    DeleteRegKey HKCU "${CLASSES}\${SHELL_KEY}\${HERE_VERB}"
    !insertmacro DeleteIfEmpty "${SHELL_KEY}"
!macroend

Section "${PRODUCT}"
    SetOutPath "$INSTDIR"
    File "${STAGE}/Vantrel.exe"
    File "${STAGE}/Colours.txt"
    File /r "${STAGE}/Sample Shortcuts"
    ; The shortcut starts the program in its own folder.
    SetOutPath "$INSTDIR"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Vantrel.exe" "" "$INSTDIR\Vantrel.exe" 0
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vantrel.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

    WriteRegStr HKCU "${CLASSES}\${PROGID}" "" "Vantrel batch file"
    WriteRegStr HKCU "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\Vantrel.exe,0"
    WriteRegStr HKCU "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\Vantrel.exe" /open "%1"'
    WriteRegStr HKCU "${CLASSES}\.dcb" "" "${PROGID}"
    WriteRegStr HKCU "${CLASSES}\.dcb\OpenWithProgids" "${PROGID}" ""
    !insertmacro WriteHereVerb "Directory\shell" "%1"
    !insertmacro WriteHereVerb "Directory\Background\shell" "%V"
    !insertmacro WriteHereVerb "Drive\shell" "%1"
    !insertmacro AssociationsChanged
SectionEnd

Section "un.${PRODUCT}" UnProgram
    SectionIn RO
    Delete "$INSTDIR\Vantrel.exe"
    Delete "$INSTDIR\Colours.txt"
    RMDir /r "$INSTDIR\Sample Shortcuts"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"

    ; .dcb stays with whatever program the user gave it since.
    DeleteRegValue HKCU "${CLASSES}\.dcb\OpenWithProgids" "${PROGID}"
    !insertmacro DeleteIfEmpty ".dcb\OpenWithProgids"
    ReadRegStr $0 HKCU "${CLASSES}\.dcb" ""
    ${If} $0 == "${PROGID}"
        DeleteRegValue HKCU "${CLASSES}\.dcb" ""
        !insertmacro DeleteIfEmpty ".dcb"
    ${EndIf}
    DeleteRegKey HKCU "${CLASSES}\${PROGID}"
    !insertmacro DeleteHereVerb "Directory\shell"
    !insertmacro DeleteHereVerb "Directory\Background\shell"
    !insertmacro DeleteIfEmpty "Directory\Background"
    !insertmacro DeleteIfEmpty "Directory"
    !insertmacro DeleteHereVerb "Drive\shell"
    !insertmacro DeleteIfEmpty "Drive"
    !insertmacro AssociationsChanged

    ; The start at log-on, when it starts this copy: another copy of the
    ; program (a portable one) keeps its own.
    ReadRegStr $0 HKLM "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 == '"$INSTDIR\Vantrel.exe"'
        DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
        ReadRegStr $0 HKLM "${RUN_KEY}" "${RUN_VALUE}"
        ${If} $0 != ""
            ; The key is machine-wide: without administrator rights it stays.
            DetailPrint "The start at log-on could not be removed; run AUTOSTART OFF as an administrator before uninstalling."
            MessageBox MB_OK|MB_ICONEXCLAMATION "The start at log-on (AUTOSTART) could not be removed without administrator rights." /SD IDOK
        ${EndIf}
    ${EndIf}
SectionEnd

Section /o "un.Your shortcuts and Autoexec.dcb" UnUserData
    ReadEnvStr $0 ALLUSERSPROFILE
    ${If} $0 != ""
        RMDir /r "$0\Orvane\Vantrel"
        RMDir "$0\Orvane"
    ${EndIf}
SectionEnd

LangString DESC_UnProgram ${LANG_ENGLISH} "The program, its Start-menu shortcut, its start at log-on and its Explorer verbs."
LangString DESC_UnUserData ${LANG_ENGLISH} "Your Shortcuts folder with Autoexec.dcb, and the ban list."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${UnProgram} $(DESC_UnProgram)
    !insertmacro MUI_DESCRIPTION_TEXT ${UnUserData} $(DESC_UnUserData)
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Function un.onInit
    !insertmacro RefuseWhileRunning
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVEUSERDATA" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${UnUserData} ${SF_SELECTED}
    ${EndIf}
FunctionEnd
