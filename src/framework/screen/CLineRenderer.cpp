// Direct mode on a terminal: one line per dialog, message boxes as blocks.
#include "framework/screen/CLineRenderer.h"

#include <algorithm>

#include "framework/screen/CCodePage1252.h"
#include "framework/screen/CLineKeys.h"
#include "framework/screen/CMessageBoxAnswers.h"

namespace {
constexpr int kBarCells = 20;
const char* const kSeparator = "  ";
const char* const kClearToEndOfLine = "\x1b[K";

bool IsText(ControlKind kind)
{
    return kind == ControlKind::Label || kind == ControlKind::CentredText;
}

// A line shows on one line: line breaks of a text become blanks.
std::string OneLine(const CString& text)
{
    std::string utf8 = CCodePage1252::ToUtf8(text);
    std::replace(utf8.begin(), utf8.end(), '\n', ' ');
    std::replace(utf8.begin(), utf8.end(), '\t', ' ');
    return utf8;
}

// Tenths of the bar's range reached (0 to 10).
int Tenths(const WindowState& bar)
{
    const int span = bar.rangeHigh - bar.rangeLow;
    return span > 0 ? (bar.position - bar.rangeLow) * 10 / span : 0;
}

std::string Bar(const WindowState& bar)
{
    const int span = bar.rangeHigh - bar.rangeLow;
    const int filled = span > 0 ? (bar.position - bar.rangeLow) * kBarCells / span : 0;
    return "[" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(kBarCells - filled), ' ') + "]";
}

// The visible texts and bars of a dialog, top to bottom, left to right.
std::vector<const WindowState*> ShownParts(const CWindowView& windows, const WindowState& dialog)
{
    std::vector<const WindowState*> parts;
    for (const WindowHandle handle : dialog.controls) {
        const WindowState* control = windows.FindWindow(handle);
        if (control == nullptr || !control->visible) {
            continue;
        }
        if ((IsText(control->kind) && !control->text.IsEmpty()) || control->kind == ControlKind::ProgressBar) {
            parts.push_back(control);
        }
    }
    std::stable_sort(parts.begin(), parts.end(), [](const WindowState* a, const WindowState* b) {
        return a->y != b->y ? a->y < b->y : a->x < b->x;
    });
    return parts;
}
}  // namespace

CLineRenderer::CLineRenderer(std::ostream& out, bool inPlace) : m_out(out), m_inPlace(inPlace) {}

std::string CLineRenderer::LineOf(const CWindowView& windows, const WindowState& dialog)
{
    std::string line;
    for (const WindowState* part : ShownParts(windows, dialog)) {
        if (!line.empty()) {
            line += kSeparator;
        }
        line += part->kind == ControlKind::ProgressBar ? Bar(*part) : OneLine(part->text);
    }
    return line;
}

bool CLineRenderer::HasProgressBar(const CWindowView& windows, const WindowState& dialog)
{
    for (const WindowState* part : ShownParts(windows, dialog)) {
        if (part->kind == ControlKind::ProgressBar) {
            return true;
        }
    }
    return false;
}

std::string CLineRenderer::PlainKeyOf(const CWindowView& windows, const WindowState& dialog)
{
    // A progress line is written per tenth of its bar; any other line when
    // its leading text (the state) changes, not with every running figure.
    std::string key;
    const std::vector<const WindowState*> parts = ShownParts(windows, dialog);
    if (HasProgressBar(windows, dialog)) {
        for (const WindowState* part : parts) {
            if (part->kind == ControlKind::ProgressBar) {
                key += std::to_string(Tenths(*part)) + ";";
            }
        }
        return key;
    }
    return parts.empty() ? std::string() : OneLine(parts.front()->text);
}

void CLineRenderer::ShowDialogs(const CWindowView& windows, const std::vector<const WindowState*>& dialogs)
{
    if (dialogs.empty()) {
        EndOpenLine();
        return;
    }
    // Only the newest dialog is in front; the others wait below it.
    const WindowState& front = *dialogs.back();
    const std::string line = LineOf(windows, front);
    if (m_inPlace) {
        const bool hint = m_keysTaken && CLineKeys::TakesCancel(windows, front);
        ShowInPlace(front.handle, hint ? line + kSeparator + CLineKeys::kHint : line);
    } else {
        ShowPlain(front.handle, line, PlainKeyOf(windows, front));
    }
}

void CLineRenderer::ShowInPlace(WindowHandle dialog, const std::string& line)
{
    Shown& shown = m_shown[dialog];
    if (m_openLineOf != dialog) {
        EndOpenLine();
        m_out << line << kClearToEndOfLine;
        m_openLineOf = dialog;
    } else if (shown.line != line) {
        m_out << '\r' << line << kClearToEndOfLine;
    } else {
        return;
    }
    shown.line = line;
    m_out.flush();
}

void CLineRenderer::ShowPlain(WindowHandle dialog, const std::string& line, const std::string& key)
{
    const auto found = m_shown.find(dialog);
    if (found != m_shown.end() && found->second.key == key) {
        return;
    }
    m_out << line << '\n';
    m_out.flush();
    m_shown[dialog] = Shown{line, key};
}

void CLineRenderer::DialogGone(const CWindowView& windows, const WindowState& dialog)
{
    const auto found = m_shown.find(dialog.handle);
    if (m_inPlace) {
        if (m_openLineOf == dialog.handle) {
            ShowInPlace(dialog.handle, LineOf(windows, dialog));
            EndOpenLine();
        }
    } else if (found != m_shown.end() && HasProgressBar(windows, dialog)) {
        // The last state of a progress line is always written.
        const std::string line = LineOf(windows, dialog);
        if (line != found->second.line) {
            m_out << line << '\n';
            m_out.flush();
        }
    }
    m_shown.erase(dialog.handle);
}

void CLineRenderer::EndOpenLine()
{
    if (m_openLineOf != nullptr) {
        m_out << '\n';
        m_out.flush();
        m_openLineOf = nullptr;
    }
}

void CLineRenderer::ShowMessageBox(const CString& caption, const CString& text, UINT type, bool asksKeys)
{
    EndOpenLine();
    m_out << "== " << OneLine(caption) << " ==\n";
    m_out << CCodePage1252::ToUtf8(text) << '\n';
    m_out << CMessageBoxAnswers::ButtonRow(type);
    if (asksKeys) {
        m_out << ' ' << CMessageBoxAnswers::KeyHint(type);
    }
    m_out << ' ';
    m_out.flush();
}

void CLineRenderer::ShowAnswer(int button)
{
    m_out << "> " << CMessageBoxAnswers::ButtonName(button) << '\n';
    m_out.flush();
}

void CLineRenderer::ShowFilePrompt(const CString& initialFile)
{
    EndOpenLine();
    m_out << CCodePage1252::ToUtf8("Datei \xF6" "ffnen");
    if (!initialFile.IsEmpty()) {
        m_out << " [" << OneLine(initialFile) << "]";
    }
    m_out << ": ";
    m_out.flush();
}

void CLineRenderer::ShowClosingLine(const CString& text)
{
    EndOpenLine();
    m_out << OneLine(text) << '\n';
    m_out.flush();
}
