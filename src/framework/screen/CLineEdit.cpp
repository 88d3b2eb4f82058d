// One line of text being edited on the terminal.
#include "framework/screen/CLineEdit.h"

#include <algorithm>

#include "framework/screen/ScreenKey.h"

CLineEdit::CLineEdit(const CString& text)
{
    Reset(text);
}

void CLineEdit::Reset(const CString& text)
{
    m_text = text;
    m_caret = text.GetLength();
}

bool CLineEdit::HandleKey(int key)
{
    const int length = m_text.GetLength();
    if (IsTypedCharacter(key)) {
        m_text = m_text.Left(m_caret) + CString(static_cast<char>(key), 1) + m_text.Mid(m_caret);
        ++m_caret;
        return true;
    }
    switch (key) {
    case skBackspace:
        if (m_caret > 0) {
            m_text = m_text.Left(m_caret - 1) + m_text.Mid(m_caret);
            --m_caret;
        }
        return true;
    case skDelete:
        if (m_caret < length) {
            m_text = m_text.Left(m_caret) + m_text.Mid(m_caret + 1);
        }
        return true;
    case skLeft:
        m_caret = std::max(0, m_caret - 1);
        return true;
    case skRight:
        m_caret = std::min(length, m_caret + 1);
        return true;
    case skHome:
        m_caret = 0;
        return true;
    case skEnd:
        m_caret = length;
        return true;
    default:
        return false;
    }
}

int CLineEdit::FirstShown(int width)
{
    width = std::max(1, width);
    m_caret = std::clamp(m_caret, 0, m_text.GetLength());
    if (m_caret < m_firstShown) {
        m_firstShown = m_caret;
    } else if (m_caret >= m_firstShown + width) {
        m_firstShown = m_caret - width + 1;
    }
    // No empty room on the right while text is hidden on the left.
    const int fullest = std::max(0, m_text.GetLength() + 1 - width);
    m_firstShown = std::clamp(m_firstShown, 0, fullest);
    return m_firstShown;
}
