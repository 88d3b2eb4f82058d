; What the setup program and the uninstaller both remove, made once for each
; of them (an uninstaller's functions carry the prefix "un."). The files of
; the package are listed by CPack, in DELETE_PACKAGE_FILES.

!macro TRELOX_REMOVAL UN
  ; $R0: the folder of an installed copy. Returns when its Trelox.exe can be
  ; replaced or removed (or there is none); while a running Trelox.exe holds
  ; it, asks the technician to close it and retry. Cancel, or any silent
  ; run, aborts with nothing changed.
  Function ${UN}WaitUntilProgramClosed
    ${DoWhile} ${FileExists} "$R0\Trelox.exe"
      ClearErrors
      FileOpen $R1 "$R0\Trelox.exe" a
      ${IfNot} ${Errors}
        FileClose $R1
        ${Break}
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(ProgramRunning)" /SD IDCANCEL IDRETRY +2
      Abort
    ${Loop}
  FunctionEnd

  ; Removes the program's files from $INSTDIR, then $INSTDIR and the folders
  ; above it up to $R0 (the outermost folder the installation made, or ""),
  ; each only when it is empty: what else a technician keeps there stays.
  Function ${UN}RemoveProgramFiles
    !insertmacro DELETE_PACKAGE_FILES
    Delete "$INSTDIR\${UNINSTALLER}"
    ; A made folder that does not hold $INSTDIR is no guide.
    StrLen $R1 $R0
    StrCpy $R2 $INSTDIR $R1
    ${IfThen} $R2 != $R0 ${|} StrCpy $R0 "" ${|}
    StrCpy $R1 $INSTDIR
    ${Do}
      RMDir $R1
      ${If} $R0 == ""
      ${OrIf} $R1 == $R0
        ${Break}
      ${EndIf}
      ${GetParent} $R1 $R1
    ${LoopUntil} $R1 == ""
  FunctionEnd

  ; Removes the shortcuts the setup makes, under their names in each of its
  ; languages (the system's language may have changed since), from the
  ; start-menu folder $R0 (none when ""), then that folder and those above
  ; it up to the start menu's own, each only when it is empty.
  Function ${UN}RemoveShortcuts
    ${IfThen} $R0 == "" ${|} Return ${|}
    Delete "$SMPROGRAMS\$R0\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\$R0\${README_SHORTCUT_DE}.lnk"
    Delete "$SMPROGRAMS\$R0\${README_SHORTCUT_EN}.lnk"
    Delete "$SMPROGRAMS\$R0\${UNINSTALL_SHORTCUT_DE}.lnk"
    Delete "$SMPROGRAMS\$R0\${UNINSTALL_SHORTCUT_EN}.lnk"
    StrCpy $R1 "$SMPROGRAMS\$R0"
    ${DoUntil} $R1 == $SMPROGRAMS
      RMDir $R1
      ${GetParent} $R1 $R1
      ${IfThen} $R1 == "" ${|} ${Break} ${|}
    ${Loop}
  FunctionEnd
!macroend

!insertmacro TRELOX_REMOVAL ""
!insertmacro TRELOX_REMOVAL "un."
