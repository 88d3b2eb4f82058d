// The open-file dialog on the full screen.
#include "framework/screen/CScreenFilePrompt.h"

#include "framework/screen/ScreenKey.h"

CScreenFilePrompt::Outcome CScreenFilePrompt::HandleKey(int key)
{
    switch (key) {
    case skEnter:
        // An empty path names no file: nothing is chosen.
        return m_field.Text().IsEmpty() ? Outcome::Cancelled : Outcome::Chosen;
    case skEscape:
    case skInterrupt:
        return Outcome::Cancelled;
    default:
        m_field.HandleKey(key);
        return Outcome::Waiting;
    }
}
