// The keys of direct mode on a terminal.
#include "framework/screen/CLineKeys.h"

#include "framework/screen/ScreenKey.h"

const char CLineKeys::kHint[] = "(Esc, Eingabe = Abbrechen)";

namespace {
constexpr char kLineFeed = '\n';

// The end of the key sequence that starts at `at` with Esc and a lead byte:
// parameters and intermediates, then one final byte.
std::size_t SequenceEnd(const std::string& bytes, std::size_t at)
{
    std::size_t end = at + 2;
    while (end < bytes.size() && (static_cast<unsigned char>(bytes[end]) < 0x40 ||
                                  static_cast<unsigned char>(bytes[end]) > 0x7E)) {
        ++end;
    }
    return end < bytes.size() ? end + 1 : end;
}
}  // namespace

std::vector<InputRequest> CLineKeys::HandleBytes(const std::string& bytes) const
{
    std::vector<InputRequest> requests;
    const WindowHandle dialog = m_windows.ActiveDialog();
    if (dialog == nullptr) {
        return requests;
    }
    for (std::size_t at = 0; at < bytes.size();) {
        const char byte = bytes[at];
        const bool sequence = byte == skEscape && at + 1 < bytes.size() && (bytes[at + 1] == '[' || bytes[at + 1] == 'O');
        if (sequence) {
            at = SequenceEnd(bytes, at);
            continue;
        }
        if (byte == skEscape || byte == skEnter || byte == kLineFeed || byte == skInterrupt) {
            requests.push_back(InputRequest::PressButton(dialog, IDCANCEL));
        }
        ++at;
    }
    return requests;
}

bool CLineKeys::TakesCancel(const CWindowView& windows, const WindowState& dialog)
{
    for (const WindowHandle handle : dialog.controls) {
        const WindowState* control = windows.FindWindow(handle);
        if (control != nullptr && control->controlId == IDCANCEL && control->kind == ControlKind::PushButton) {
            return control->enabled && control->visible;
        }
    }
    return false;
}
