// A small dialog template for the framework's own tests.
#include "support/TestDialogTemplate.h"

#include "framework/CResourceTable.h"

namespace test_dialog {
void Register()
{
    DialogTemplate dialog{kTemplateId, "Test", 200, 100, dlgSystemMenu | dlgModalFrame, 0,
        {
            {-1, ControlKind::Label, "Name:", 5, 5, 40, 8, ctlGroup, 0},
            {kEdit, ControlKind::Edit, "", 5, 15, 100, 12, ctlTabStop | ctlBorder, 0},
            {kSecondEdit, ControlKind::Edit, "", 5, 30, 100, 12, ctlTabStop | ctlBorder, 0},
            {kButton, ControlKind::PushButton, "Los", 110, 15, 40, 14, ctlTabStop, 0},
            {kProgress, ControlKind::ProgressBar, "", 5, 50, 150, 14, ctlBorder, 0},
            {IDOK, ControlKind::PushButton, "OK", 40, 80, 50, 14, ctlTabStop | ctlDefaultButton, 0},
            {IDCANCEL, ControlKind::PushButton, "Abbrechen", 100, 80, 50, 14, ctlTabStop, 0},
        }};
    CResourceTable::Instance().AddDialog(dialog);
}
}  // namespace test_dialog
