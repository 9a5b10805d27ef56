; The Windows installer of ZEM Ordwen: "ZEM Ordwen Setup.exe".
; Installs the 64-bit and the 32-bit plug-in into VST folders the user chooses, the CLAP plug-ins
; into the CLAP folders of 64-bit and 32-bit hosts (%COMMONPROGRAMFILES%\CLAP, which a 32-bit
; process sees in "Common Files" of "Program Files (x86)"), the VST 3 bundles likewise into
; %COMMONPROGRAMFILES%\VST3 of 64-bit and of 32-bit hosts, the user manual
; and the label typeface into the installation folder, records the manual's full path as
; "ManualPath" (the plug-in finds the manual and the typeface through it), and registers an
; uninstaller that removes all of that and keeps the user's meter defaults.
;
; makensis -DSTAGE=<folder with the four files, and x64\ and x86\ with the .clap files and the
;          "ZEM Ordwen.vst3" bundle folders>
;          -DOUTFILE=<setup.exe> zem_ordwen.nsi
; Silent use: "ZEM Ordwen Setup.exe" /S [/VST64=folder] [/VST32=folder] [/D=installation folder]

Unicode true
SetCompressor /SOLID lzma
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!ifndef STAGE
  !error "STAGE must name the folder with the files to install"
!endif
!ifndef OUTFILE
  !define OUTFILE "ZEM Ordwen Setup.exe"
!endif

!define PRODUCT "ZEM Ordwen"
!define VERSION "3.0.2"
!define MANUAL "ZEM Ordwen User Manual v3.0.2 EN.pdf"
!define FONT "ZEMOrdwen.kqf"
!define METER_KEY "SOFTWARE\Velmora\ZEMMETERS300"
!define CLAP "ZEM Ordwen.clap"
!define VST3 "ZEM Ordwen.vst3"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZEM Ordwen"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Velmora\ZEM Ordwen"
RequestExecutionLevel admin
BrandingText "Velmora ${PRODUCT} ${VERSION}"
; Fixed header data for reproducible output.
VIProductVersion "3.0.2.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "Velmora"
VIAddVersionKey "LegalCopyright" "Velmora"
VIAddVersionKey "FileDescription" "${PRODUCT} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

Var Vst64Dir
Var Vst32Dir

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME

!define MUI_PAGE_HEADER_TEXT "64-bit VST folder"
!define MUI_PAGE_HEADER_SUBTEXT "Where your 64-bit hosts look for VST 2 plug-ins."
!define MUI_DIRECTORYPAGE_TEXT_TOP "ZEM Ordwen_x64.dll will be installed in this folder."
!define MUI_DIRECTORYPAGE_VARIABLE $Vst64Dir
!insertmacro MUI_PAGE_DIRECTORY

!define MUI_PAGE_HEADER_TEXT "32-bit VST folder"
!define MUI_PAGE_HEADER_SUBTEXT "Where your 32-bit hosts look for VST 2 plug-ins."
!define MUI_DIRECTORYPAGE_TEXT_TOP "ZEM Ordwen.dll will be installed in this folder."
!define MUI_DIRECTORYPAGE_VARIABLE $Vst32Dir
!insertmacro MUI_PAGE_DIRECTORY

!define MUI_PAGE_HEADER_TEXT "Installation folder"
!define MUI_PAGE_HEADER_SUBTEXT "The user manual and the label typeface."
!define MUI_DIRECTORYPAGE_TEXT_TOP "The user manual and the typeface of the label strip will be installed in this folder."
!insertmacro MUI_PAGE_DIRECTORY

!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    StrCpy $Vst64Dir "$PROGRAMFILES64\VSTPlugins"
    StrCpy $Vst32Dir "$PROGRAMFILES32\VSTPlugins"
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/VST64=" $R1
    ${IfNot} ${Errors}
        StrCpy $Vst64Dir $R1
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/VST32=" $R1
    ${IfNot} ${Errors}
        StrCpy $Vst32Dir $R1
    ${EndIf}
FunctionEnd

Section "ZEM Ordwen" SecMain
    SectionIn RO
    SetOverwrite on
    SetOutPath "$Vst64Dir"
    File "${STAGE}\ZEM Ordwen_x64.dll"
    SetOutPath "$Vst32Dir"
    File "${STAGE}\ZEM Ordwen.dll"
    ; The CLAP plug-ins where hosts look for them: no choice to make.
    SetOutPath "$COMMONFILES64\CLAP"
    File "${STAGE}\x64\${CLAP}"
    SetOutPath "$COMMONFILES32\CLAP"
    File "${STAGE}\x86\${CLAP}"
    ; The VST 3 bundles likewise: the 64-bit one where 64-bit hosts look, the 32-bit one where
    ; 32-bit hosts look.
    SetOutPath "$COMMONFILES64\VST3"
    File /r "${STAGE}\x64\${VST3}"
    SetOutPath "$COMMONFILES32\VST3"
    File /r "${STAGE}\x86\${VST3}"
    SetOutPath "$INSTDIR"
    File "${STAGE}\${MANUAL}"
    File "${STAGE}\${FONT}"

    ; The manual's full path; the plug-in derives the installation folder from it.
    WriteRegStr HKCU "${METER_KEY}" "ManualPath" "$INSTDIR\${MANUAL}"

    WriteUninstaller "$INSTDIR\Uninstall.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Velmora"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Vst64Dir" "$Vst64Dir"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Vst32Dir" "$Vst32Dir"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    ReadRegStr $Vst64Dir HKCU "${UNINSTALL_KEY}" "Vst64Dir"
    ReadRegStr $Vst32Dir HKCU "${UNINSTALL_KEY}" "Vst32Dir"
    ${If} $Vst64Dir != ""
        Delete "$Vst64Dir\ZEM Ordwen_x64.dll"
        RMDir "$Vst64Dir"
    ${EndIf}
    ${If} $Vst32Dir != ""
        Delete "$Vst32Dir\ZEM Ordwen.dll"
        RMDir "$Vst32Dir"
    ${EndIf}
    Delete "$COMMONFILES64\CLAP\${CLAP}"
    RMDir "$COMMONFILES64\CLAP"
    Delete "$COMMONFILES32\CLAP\${CLAP}"
    RMDir "$COMMONFILES32\CLAP"
    RMDir /r "$COMMONFILES64\VST3\${VST3}"
    RMDir "$COMMONFILES64\VST3"
    RMDir /r "$COMMONFILES32\VST3\${VST3}"
    RMDir "$COMMONFILES32\VST3"
    Delete "$INSTDIR\${MANUAL}"
    Delete "$INSTDIR\${FONT}"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    ; The meter defaults stay: only the installer's own value goes, and the key only if empty.
    DeleteRegValue HKCU "${METER_KEY}" "ManualPath"
    DeleteRegKey /ifempty HKCU "${METER_KEY}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
