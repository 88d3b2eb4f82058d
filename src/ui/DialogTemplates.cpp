// The program's dialog templates, icon and string as data.
#include "ui/DialogTemplates.h"

#include "TreloxVersion.h"
#include "framework/CResourceTable.h"
#include "ui/res/resource.h"

namespace {
constexpr DWORD kLabel = ctlGroup;
constexpr DWORD kCentred = ctlGroup;
constexpr DWORD kEdit = ctlTabStop | ctlBorder | ctlAutoHScroll;
constexpr DWORD kButton = ctlTabStop;
constexpr DWORD kDefaultButton = ctlTabStop | ctlDefaultButton;
constexpr DWORD kDialog = dlgSystemMenu | dlgModalFrame;

DialogControlTemplate Control(int id, ControlKind kind, const char* text, short x, short y, short cx, short cy,
                              DWORD flags)
{
    return DialogControlTemplate{id, kind, text, x, y, cx, cy, flags, 0};
}

DialogTemplate AboutBox()
{
    DialogControlTemplate icon = Control(IDC_STATIC, ControlKind::Icon, "", 11, 17, 20, 20, 0);
    icon.iconId = IDR_MAINFRAME;
    return DialogTemplate{IDD_ABOUTBOX, "Info \xFC" "ber Trelox", 235, 55, kDialog, 0,
        {
            icon,
            Control(IDC_STATIC, ControlKind::Label, TRELOX_ABOUT_VERSION_TEXT, 40, 10, 119, 8,
                    kLabel | ctlNoPrefix),
            Control(IDC_STATIC, ControlKind::Label, "Copyright \xA9 2024-2025\nTrelox-Entwicklerteam", 40, 25, 181,
                    17, kLabel),
            Control(IDOK, ControlKind::PushButton, "OK", 178, 7, 50, 16, kDefaultButton | ctlGroup),
        }};
}

DialogTemplate MainDialog()
{
    return DialogTemplate{IDD_TRELOX_DIALOG, "Trelox", 287, 206, kDialog | dlgVisible | dlgAppWindow, 0,
        {
            Control(IDC_STATIC, ControlKind::Label, "Seriennummer:", 11, 11, 49, 8, kLabel),
            Control(IDC_SERIAL_NUMBER, ControlKind::Edit, "", 10, 20, 227, 12, kEdit),
            Control(IDC_SET_SERIAL_NUMBER, ControlKind::PushButton, "*", 240, 19, 15, 14, kButton),
            Control(IDC_QUERY_SERIAL_NUMBER, ControlKind::PushButton, "?", 258, 19, 15, 14, kButton),
            Control(IDC_STATIC, ControlKind::Label, "Produktbezeichnung:", 12, 35, 68, 8, kLabel),
            Control(IDC_PRODUCT_NAME, ControlKind::Edit, "", 10, 44, 227, 12, kEdit),
            Control(IDC_SET_PRODUCT_NAME, ControlKind::PushButton, "*", 240, 43, 15, 14, kButton),
            Control(IDC_QUERY_PRODUCT_NAME, ControlKind::PushButton, "?", 258, 43, 15, 14, kButton),
            Control(IDC_STATIC, ControlKind::Label, "Hersteller:", 11, 59, 34, 8, kLabel),
            Control(IDC_MANUFACTURER, ControlKind::Edit, "", 10, 69, 227, 12, kEdit),
            Control(IDC_SET_MANUFACTURER, ControlKind::PushButton, "*", 240, 67, 15, 14, kButton),
            Control(IDC_QUERY_MANUFACTURER, ControlKind::PushButton, "?", 258, 67, 15, 14, kButton),
            Control(IDC_STATIC, ControlKind::Label, "Version:", 12, 83, 27, 8, kLabel),
            Control(IDC_VERSION, ControlKind::Edit, "", 10, 93, 227, 12, kEdit),
            Control(IDC_QUERY_VERSION, ControlKind::PushButton, "?", 258, 91, 15, 14, kButton),
            Control(IDC_STATIC, ControlKind::Label, "Fehlerinformation:", 12, 108, 60, 8, kLabel),
            Control(IDC_ERROR_INFO, ControlKind::Edit, "", 10, 118, 227, 12, kEdit),
            Control(IDC_QUERY_ERROR_INFO, ControlKind::PushButton, "?", 258, 116, 15, 14, kButton),
            Control(IDC_STATIC, ControlKind::Label, "Flash-Datei:", 14, 140, 40, 8, kLabel),
            Control(IDC_FLASH_FILE, ControlKind::Edit, "", 10, 151, 246, 13, kEdit | ctlWantReturn),
            Control(IDC_BROWSE_FLASH_FILE, ControlKind::PushButton, "...", 259, 150, 16, 14, kButton),
            Control(IDOK, ControlKind::PushButton, "Flashen", 59, 175, 50, 16, kDefaultButton),
            Control(IDCANCEL, ControlKind::PushButton, "Schlie\xDF" "en", 156, 175, 50, 16, kButton),
        }};
}

DialogTemplate ProgressDialog()
{
    return DialogTemplate{IDD_PROGRESS_DIALOG, "Fortschrittsanzeige", 186, 90, kDialog, 400,
        {
            Control(IDCANCEL, ControlKind::PushButton, "Abbrechen", 68, 62, 50, 14, kButton),
            Control(IDC_PROGRESS, ControlKind::ProgressBar, "", 19, 24, 148, 14, ctlBorder),
            Control(IDC_DESCRIPTION, ControlKind::CentredText, "Vorgangsbeschreibung", 20, 10, 143, 8, kCentred),
            Control(IDC_PERCENT, ControlKind::CentredText, "Prozent", 23, 43, 140, 8, kCentred),
        }};
}

DialogTemplate FlashInfoDialog()
{
    return DialogTemplate{IDD_FLASHINFO_DIALOG, "Flash-Programmierung", 186, 81, kDialog, 400,
        {
            Control(IDCANCEL, ControlKind::PushButton, "Abbrechen", 70, 52, 50, 14, kButton),
            Control(IDC_STATE_TEXT, ControlKind::CentredText, "Zustandsbeschreibung", 19, 15, 150, 8, kCentred),
            Control(IDC_TIME_TEXT, ControlKind::CentredText, "Zeit: 00:00:00", 19, 29, 150, 8, kCentred),
        }};
}
}  // namespace

void RegisterDialogTemplates()
{
    CResourceTable& resources = CResourceTable::Instance();
    resources.AddDialog(AboutBox());
    resources.AddDialog(MainDialog());
    resources.AddDialog(ProgressDialog());
    resources.AddDialog(FlashInfoDialog());
    resources.AddIcon(IDR_MAINFRAME);
    resources.AddString(IDS_ABOUTBOX, "&Info \xFC" "ber Trelox...");
}
