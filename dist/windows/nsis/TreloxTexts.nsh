; The setup program's own texts, German and English; the install system's
; language files give the rest. The language is the system's (English on
; systems in neither language). The shortcut names are also defines: the
; removal deletes the shortcuts under the names of both languages.

!define README_SHORTCUT_DE "Liesmich"
!define README_SHORTCUT_EN "Readme"
!define UNINSTALL_SHORTCUT_DE "Trelox deinstallieren"
!define UNINSTALL_SHORTCUT_EN "Uninstall Trelox"

LangString ReadmeShortcut ${LANG_GERMAN} "${README_SHORTCUT_DE}"
LangString ReadmeShortcut ${LANG_ENGLISH} "${README_SHORTCUT_EN}"
LangString UninstallShortcut ${LANG_GERMAN} "${UNINSTALL_SHORTCUT_DE}"
LangString UninstallShortcut ${LANG_ENGLISH} "${UNINSTALL_SHORTCUT_EN}"

LangString WelcomeText ${LANG_GERMAN} "Dieser Assistent installiert $(^NameDA), das Service-Werkzeug für das USB-Gerät des Testsystems.$UpdateNote$\r$\n$\r$\n$(^ClickNext)"
LangString WelcomeText ${LANG_ENGLISH} "This wizard installs $(^NameDA), the service tool for the test system's USB device.$UpdateNote$\r$\n$\r$\n$(^ClickNext)"

LangString UpdateNote ${LANG_GERMAN} "Trelox $PreviousVersion ist bereits in „$PreviousInstallDir“ installiert. Der Assistent ersetzt es dort durch Version ${VERSION}, mit demselben Startmenü-Ordner."
LangString UpdateNote ${LANG_ENGLISH} "Trelox $PreviousVersion is already installed in $\"$PreviousInstallDir$\". The wizard replaces it there with version ${VERSION}, in the same start-menu folder."

LangString FinishText ${LANG_GERMAN} "$(^NameDA) ist installiert. Sie starten es im Startmenü, Ordner „$StartMenuFolder“.$\r$\n$\r$\nTrelox braucht den Windows-Treiber des Geräts: siehe Liesmich-Datei."
LangString FinishText ${LANG_ENGLISH} "$(^NameDA) is installed. Start it from the start menu, folder $\"$StartMenuFolder$\".$\r$\n$\r$\nTrelox needs the device's Windows driver: see the readme."

LangString ProgramRunning ${LANG_GERMAN} "Trelox läuft noch ($R0\Trelox.exe) und kann so nicht ersetzt oder entfernt werden.$\r$\n$\r$\nBitte beenden Sie Trelox und klicken Sie auf „Wiederholen“. „Abbrechen“ lässt alles, wie es ist."
LangString ProgramRunning ${LANG_ENGLISH} "Trelox is still running ($R0\Trelox.exe) and cannot be replaced or removed while it runs.$\r$\n$\r$\nPlease close Trelox and click Retry. Cancel leaves everything as it is."
