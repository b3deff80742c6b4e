#include "ui_driver.h"

#include <array>
#include <cstring>
#include <fstream>
#include <thread>
#include <utility>

namespace uidriver {
namespace {

constexpr std::chrono::milliseconds kPollInterval{20};

std::string ClassName(HWND window)
{
    std::array<char, 256> name{};
    const int length = ::GetClassNameA(window, name.data(), static_cast<int>(name.size()));
    return std::string(name.data(), length > 0 ? length : 0);
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> Children(HWND window)
{
    std::vector<HWND> children;
    ::EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

struct WindowSearch {
    DWORD processId;
    std::vector<Window> found;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && ::IsWindowVisible(window)) {
        search.found.push_back({window, Text(window), ClassName(window)});
    }
    return TRUE;
}

bool IsStatic(HWND window)
{
    return ::_stricmp(ClassName(window).c_str(), "Static") == 0;
}

}  // namespace

std::optional<Process> Process::Start(const std::string& executable, const std::string& workingFolder,
                                      const std::string& arguments)
{
    std::string commandLine = "\"" + executable + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    Process process;
    if (!::CreateProcessA(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &process.m_info)) {
        return std::nullopt;
    }
    return process;
}

Process::Process(Process&& other) noexcept : m_info(std::exchange(other.m_info, PROCESS_INFORMATION{})) {}

Process::~Process()
{
    if (m_info.hProcess != nullptr) {
        if (!HasExited()) {
            Kill();
        }
        ::CloseHandle(m_info.hThread);
        ::CloseHandle(m_info.hProcess);
    }
}

bool Process::HasExited() const
{
    return ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_OBJECT_0;
}

std::optional<DWORD> Process::WaitForExit(std::chrono::milliseconds wait) const
{
    if (::WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(wait.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

void Process::Kill() const
{
    ::TerminateProcess(m_info.hProcess, 99);
    ::WaitForSingleObject(m_info.hProcess, 5000);
}

std::vector<Window> TopLevelWindows(DWORD processId)
{
    WindowSearch search{processId, {}};
    ::EnumWindows(&CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

std::optional<Window> WaitForWindow(DWORD processId, const std::function<bool(const Window&)>& test,
                                    std::chrono::milliseconds wait)
{
    std::optional<Window> result;
    WaitUntil(
        [&] {
            for (const auto& window : TopLevelWindows(processId)) {
                if (test(window)) {
                    result = window;
                    return true;
                }
            }
            return false;
        },
        wait);
    return result;
}

std::optional<Window> WaitForDialog(DWORD processId, const std::string& title, std::chrono::milliseconds wait)
{
    return WaitForWindow(
        processId, [&](const Window& window) { return window.className == "#32770" && window.title == title; }, wait);
}

std::string Text(HWND window)
{
    std::array<char, 1024> text{};
    // WM_GETTEXT rather than GetWindowText, which does not read another
    // process's controls.
    const auto length = ::SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return std::string(text.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string ItemText(HWND dialog, int id)
{
    return Text(::GetDlgItem(dialog, id));
}

bool IsItemEnabled(HWND dialog, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}

bool IsItemVisible(HWND dialog, int id)
{
    return ::IsWindowVisible(::GetDlgItem(dialog, id)) != FALSE;
}

std::vector<std::string> StaticTexts(HWND window)
{
    std::vector<std::string> texts;
    for (HWND child : Children(window)) {
        if (IsStatic(child) && (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            texts.push_back(Text(child));
        }
    }
    return texts;
}

void Click(HWND dialog, int id)
{
    ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

std::vector<std::string> ComboEntries(HWND dialog, int id)
{
    const HWND combo = ::GetDlgItem(dialog, id);
    std::vector<std::string> entries;
    const auto count = ::SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = ::SendMessageA(combo, CB_GETLBTEXTLEN, i, 0);
        std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        ::SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::strlen(text.c_str()));
        entries.push_back(std::move(text));
    }
    return entries;
}

std::string ComboSelection(HWND dialog, int id)
{
    const auto selected = ::SendMessageA(::GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0);
    const auto entries = ComboEntries(dialog, id);
    return selected >= 0 && static_cast<std::size_t>(selected) < entries.size() ? entries[selected] : std::string();
}

bool SelectComboEntry(HWND dialog, int id, const std::string& text)
{
    const auto entries = ComboEntries(dialog, id);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == text) {
            const HWND combo = ::GetDlgItem(dialog, id);
            ::SendMessageA(combo, CB_SETCURSEL, i, 0);
            ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
            return true;
        }
    }
    return false;
}

std::optional<MessageBoxView> WaitForMessageBox(DWORD processId, std::chrono::milliseconds wait)
{
    std::optional<MessageBoxView> box;
    WaitUntil(
        [&] {
            for (const auto& window : TopLevelWindows(processId)) {
                if (window.className != "#32770") {
                    continue;
                }
                MessageBoxView view{window.handle, window.title, {}, {}};
                bool onlyBoxControls = true;
                for (HWND child : Children(window.handle)) {
                    const auto kind = ClassName(child);
                    if (::_stricmp(kind.c_str(), "Button") == 0) {
                        view.buttons.push_back(Text(child));
                    } else if (IsStatic(child)) {
                        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
                            view.text += Text(child);
                        }
                    } else {
                        onlyBoxControls = false;
                    }
                }
                // The message text of a box is the static with id 0xFFFF;
                // dialogs with other controls are not message boxes.
                if (onlyBoxControls && ::GetDlgItem(window.handle, 0xFFFF) != nullptr) {
                    view.text = ItemText(window.handle, 0xFFFF);
                    box = std::move(view);
                    return true;
                }
            }
            return false;
        },
        wait);
    return box;
}

void Answer(const MessageBoxView& box, int commandId)
{
    Click(box.handle, commandId);
}

bool SaveScreenshot(const std::string& path)
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);

    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<char> pixels(static_cast<std::size_t>(stride) * height);
    const int lines =
        ::GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (lines != height) {
        return false;
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

}  // namespace uidriver
