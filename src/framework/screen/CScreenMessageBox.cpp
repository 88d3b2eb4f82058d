// A message box on the full screen.
#include "framework/screen/CScreenMessageBox.h"

#include "framework/screen/CMessageBoxAnswers.h"
#include "framework/screen/ScreenKey.h"

CScreenMessageBox::CScreenMessageBox(const CString& caption, const CString& text, UINT type)
    : m_caption(caption), m_text(text), m_type(type), m_buttons(CMessageBoxAnswers::Buttons(type))
{
}

int CScreenMessageBox::HandleKey(int key)
{
    const std::size_t count = m_buttons.size();
    switch (key) {
    case skTab:
    case skRight:
        m_focused = (m_focused + 1) % count;
        return 0;
    case skBackTab:
    case skLeft:
        m_focused = (m_focused + count - 1) % count;
        return 0;
    case skEnter:
    case ' ':
        return m_buttons[m_focused];
    default:
        return CMessageBoxAnswers::FromKey(m_type, key);
    }
}
