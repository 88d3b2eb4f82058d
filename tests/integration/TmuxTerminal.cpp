// A terminal for the program's dialog mode, on a private tmux server.
#include "TmuxTerminal.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {
constexpr int kPollMs = 50;

// One argument for the shell, in single quotes.
std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char ch : text) {
        quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    }
    return quoted + "'";
}

std::string Output(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        output.append(buffer.data(), got);
    }
    pclose(pipe);
    return output;
}

template <typename Condition>
bool WaitUntil(Condition condition, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
}
}  // namespace

std::string TmuxTerminal::ShowingItsEnd(const std::string& commandLine)
{
    return commandLine + "; echo \"EXIT=$?\"; stty -a | tr ' ' '\\n' | grep -x -e icanon -e -icanon; sleep 600";
}

TmuxTerminal::TmuxTerminal(std::string socketPath) : m_socket(std::move(socketPath)) {}

TmuxTerminal::~TmuxTerminal()
{
    if (m_started) {
        Tmux("kill-server");
    }
}

std::string TmuxTerminal::Tmux(const std::string& arguments) const
{
    return Output("tmux -f /dev/null -S " + Quoted(m_socket) + " " + arguments + " 2>&1");
}

bool TmuxTerminal::Start(const std::string& command, const std::vector<std::string>& environment, int columns,
                         int rows)
{
    std::string launch = "env";
    for (const std::string& entry : environment) {
        launch += " " + Quoted(entry);
    }
    launch += " tmux -f /dev/null -S " + Quoted(m_socket) + " new-session -d -x " + std::to_string(columns) +
              " -y " + std::to_string(rows) + " " + Quoted(command) + " 2>&1";
    m_started = true;
    return std::system(launch.c_str()) == 0;
}

void TmuxTerminal::Keys(const std::vector<std::string>& keys)
{
    for (const std::string& key : keys) {
        Tmux("send-keys " + Quoted(key));
        // One key at a time, as fingers press them.
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
}

void TmuxTerminal::Type(const std::string& text)
{
    Tmux("send-keys -l " + Quoted(text));
}

std::string TmuxTerminal::Screen() const
{
    return Tmux("capture-pane -p");
}

bool TmuxTerminal::WaitFor(const std::string& text, int timeoutMs) const
{
    return WaitUntil([&] { return Screen().find(text) != std::string::npos; }, timeoutMs);
}

bool TmuxTerminal::WaitForGone(const std::string& text, int timeoutMs) const
{
    return WaitUntil([&] { return Screen().find(text) == std::string::npos; }, timeoutMs);
}
