#pragma once
// Drives another Windows program through its windows, as a user would: finds
// its top-level windows and message boxes, reads texts and states, clicks
// buttons, picks combo-box entries and takes screenshots. Every wait has a
// bound and polls the condition; nothing sleeps for a fixed time.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace uidriver {

inline constexpr std::chrono::milliseconds kDefaultWait{20000};

// A started program; waits for it and closes its handles on destruction.
class Process {
public:
    // Starts the program with the given working folder (empty: the caller's);
    // paths of any name, the arguments in the ANSI code page.
    static std::optional<Process> Start(const std::filesystem::path& executable,
                                        const std::filesystem::path& workingFolder = {},
                                        const std::string& arguments = {});
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&&) = delete;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Id() const { return m_info.dwProcessId; }
    HANDLE Handle() const { return m_info.hProcess; }
    bool HasExited() const;
    // The exit code once the program has ended within the wait, else empty.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds wait = kDefaultWait) const;
    void Kill() const;

private:
    Process() = default;
    PROCESS_INFORMATION m_info{};
};

struct Window {
    HWND handle = nullptr;
    std::string title;
    std::string className;
};

// Visible top-level windows of the process.
std::vector<Window> TopLevelWindows(DWORD processId);

// Those of them that take input (enabled), but the one named.
std::vector<Window> WindowsTakingInput(DWORD processId, HWND except);

// A visible dialog of the process that has a control with this id (the
// program's dialogs told apart by their controls), or null.
HWND DialogWithItem(DWORD processId, int id);

// Whether the process has loaded a library of this file name (in any case).
bool HasLoaded(const Process& program, const std::string& library);

// Waits for a visible top-level window of the process that satisfies the test.
std::optional<Window> WaitForWindow(DWORD processId, const std::function<bool(const Window&)>& test,
                                    std::chrono::milliseconds wait = kDefaultWait);

// Waits for a visible dialog of the process with exactly this title.
std::optional<Window> WaitForDialog(DWORD processId, const std::string& title,
                                    std::chrono::milliseconds wait = kDefaultWait);

// Waits until the condition holds; false when the wait ran out.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds wait = kDefaultWait);

std::string Text(HWND window);
// The text the system keeps for a window, read without sending the window a
// message, so it answers even while the window's thread is busy.
std::string RawText(HWND window);
std::string ItemText(HWND dialog, int id);
bool IsItemEnabled(HWND dialog, int id);
bool IsItemVisible(HWND dialog, int id);

// Texts of all static controls of a window, in child order.
std::vector<std::string> StaticTexts(HWND window);

// Presses a button as a click would (BM_CLICK), without waiting for the
// program to handle it.
void Click(HWND dialog, int id);

// The entries of a combo box, in the order it holds them, and its selection.
std::vector<std::string> ComboEntries(HWND dialog, int id);
std::string ComboSelection(HWND dialog, int id);

// Selects the entry with exactly this text and tells the dialog, as a
// user's choice would.
bool SelectComboEntry(HWND dialog, int id, const std::string& text);

// Drops the combo box's list down or closes it, as a click on its arrow.
void ShowComboList(HWND dialog, int id, bool show);

struct MessageBoxView {
    HWND handle = nullptr;
    HWND owner = nullptr;
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;
};

// A message box of the process (a dialog of class #32770 with no other
// controls than buttons and statics, its text the static with id 0xFFFF), if
// one shows.
std::optional<MessageBoxView> FindMessageBox(DWORD processId);

// Waits for a message box of the process.
std::optional<MessageBoxView> WaitForMessageBox(DWORD processId, std::chrono::milliseconds wait = kDefaultWait);

// Answers a message box with the button of this command id (IDOK, IDYES...).
void Answer(const MessageBoxView& box, int commandId);

// Waits until the window is closed or hidden; false when the wait ran out.
bool WaitUntilGone(HWND window, std::chrono::milliseconds wait = kDefaultWait);

// The standard icon a message box shows, told by comparing what the screen
// shows in its icon control with each standard icon drawn the same size.
enum class StandardIcon { None, Error, Warning, Information, Question };
StandardIcon MessageBoxIcon(const MessageBoxView& box, std::chrono::milliseconds wait = std::chrono::seconds(3));

// Waits until the window and its children have nothing left to paint.
bool WaitUntilPainted(HWND window, std::chrono::milliseconds wait = std::chrono::seconds(3));

// Makes the window the foreground one, so its caption is drawn as a user's
// active window; false when it did not become so within the wait.
bool Activate(HWND window, std::chrono::milliseconds wait = std::chrono::seconds(1));

// Saves what the screen shows as a 24-bit BMP file.
bool SaveScreenshot(const std::string& path);

// A window of another program on the desktop, as the user's other work while
// a program runs: a small window in the top left corner, shown and made the
// foreground window when made, served by a thread of its own. It counts each
// time the system activates it, so that a program that lets the activation
// slip to another program's window is seen doing so.
class BystanderWindow {
public:
    BystanderWindow();
    ~BystanderWindow();
    BystanderWindow(const BystanderWindow&) = delete;
    BystanderWindow& operator=(const BystanderWindow&) = delete;

    HWND Handle() const { return m_window; }
    // How often it has been activated since it was made and first
    // activated.
    int Activations() const { return m_activations; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::atomic<int> m_activations = 0;
    std::atomic<HWND> m_window = nullptr;
    std::thread m_thread;
};

}  // namespace uidriver
