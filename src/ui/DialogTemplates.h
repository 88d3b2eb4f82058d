// The program's dialog templates, icon and string as data, for the window
// systems that build the dialogs themselves (the Windows build reads the
// same resources from Trelox.rc).
#pragma once

// Registers templates 100, 102, 129 and 130, icon 128 and string 101 with
// the framework. Called once at start-up, before any dialog is shown.
void RegisterDialogTemplates();
