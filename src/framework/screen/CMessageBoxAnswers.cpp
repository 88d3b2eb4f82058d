// How a message box is answered on a terminal.
#include "framework/screen/CMessageBoxAnswers.h"

int CMessageBoxAnswers::FromKey(UINT type, int key)
{
    const UINT buttons = type & MB_TYPEMASK;
    const bool hasCancel = buttons == MB_OKCANCEL || buttons == MB_YESNOCANCEL;
    const bool isQuestion = buttons == MB_YESNO || buttons == MB_YESNOCANCEL;
    switch (key) {
    case kEnter:
    case kLineFeed:
        return isQuestion ? IDYES : IDOK;
    case kEscape:
    case kInterrupt:
        if (hasCancel) {
            return IDCANCEL;
        }
        return isQuestion ? IDNO : IDOK;
    case 'o':
    case 'O':
        return isQuestion ? 0 : IDOK;
    case 'a':
    case 'A':
        return hasCancel ? IDCANCEL : 0;
    case 'j':
    case 'J':
    case 'y':
    case 'Y':
        return isQuestion ? IDYES : 0;
    case 'n':
    case 'N':
        return isQuestion ? IDNO : 0;
    default:
        return 0;
    }
}

int CMessageBoxAnswers::Unattended(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return IDCANCEL;
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    default:
        return IDOK;
    }
}

std::vector<int> CMessageBoxAnswers::Buttons(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    default:
        return {IDOK};
    }
}

const char* CMessageBoxAnswers::ButtonName(int button)
{
    switch (button) {
    case IDOK:
        return "OK";
    case IDCANCEL:
        return "Abbrechen";
    case IDYES:
        return "Ja";
    case IDNO:
        return "Nein";
    default:
        return "?";
    }
}

std::string CMessageBoxAnswers::ButtonRow(UINT type)
{
    std::string row;
    for (const int button : Buttons(type)) {
        row += std::string(row.empty() ? "" : " ") + "[" + ButtonName(button) + "]";
    }
    return row;
}

const char* CMessageBoxAnswers::KeyHint(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return "(Eingabe = OK, Esc = Abbrechen)";
    case MB_YESNO:
        return "(j = Ja, n = Nein)";
    case MB_YESNOCANCEL:
        return "(j = Ja, n = Nein, Esc = Abbrechen)";
    default:
        return "(Eingabe)";
    }
}
