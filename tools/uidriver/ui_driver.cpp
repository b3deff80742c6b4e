#include "ui_driver.h"

#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>
#include <utility>

namespace uidriver {
namespace {

constexpr std::chrono::milliseconds kPollInterval{20};
// The longest a window may take to answer a message; a program that hangs or
// has crashed into the debugger must not hang its driver too. Not
// SMTO_ABORTIFHUNG: a thread that did not read its queue for five seconds
// counts as hung, and one that worked that long before its first modal loop
// (a slow machine, an emulated CPU) would not be asked at all.
constexpr UINT kAnswerTimeoutMs = 5000;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT unanswered = 0)
{
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kAnswerTimeoutMs, &result) == 0) {
        return unanswered;
    }
    return static_cast<LRESULT>(result);
}

// The same in the Unicode form, for messages whose text Wine does not
// convert to the ANSI form between processes (CB_GETLBTEXT).
LRESULT SendWide(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT unanswered = 0)
{
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kAnswerTimeoutMs, &result) == 0) {
        return unanswered;
    }
    return static_cast<LRESULT>(result);
}

std::string Narrow(const wchar_t* text, int length)
{
    if (length <= 0) {
        return {};
    }
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, length, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

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
        search.found.push_back({window, RawText(window), ClassName(window)});
    }
    return TRUE;
}

bool IsStatic(HWND window)
{
    return ::_stricmp(ClassName(window).c_str(), "Static") == 0;
}

bool IsIconStatic(HWND window)
{
    return IsStatic(window) && (::GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// A 32-bit top-down bitmap selected into a memory device context, with its
// pixels in reach.
class PixelCanvas {
public:
    PixelCanvas(int width, int height) : m_width(width), m_height(height)
    {
        const HDC screen = ::GetDC(nullptr);
        m_dc = ::CreateCompatibleDC(screen);
        ::ReleaseDC(nullptr, screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_previous = ::SelectObject(m_dc, m_bitmap);
    }
    ~PixelCanvas()
    {
        ::SelectObject(m_dc, m_previous);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    bool Valid() const { return m_bits != nullptr; }
    std::uint32_t At(int x, int y) const { return m_bits[static_cast<std::size_t>(y) * m_width + x]; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    std::uint32_t* m_bits = nullptr;
};

bool SameColour(std::uint32_t a, std::uint32_t b)
{
    constexpr int kTolerance = 48;  // per channel, for blending at the edges
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > kTolerance) {
            return false;
        }
    }
    return true;
}

// The share of pixels in which the screen and the icon drawn on the same
// background differ.
double IconDifference(const PixelCanvas& shown, LPCSTR standardIcon)
{
    const HICON icon = ::LoadIconA(nullptr, standardIcon);
    PixelCanvas drawn(shown.Width(), shown.Height());
    if (icon == nullptr || !drawn.Valid()) {
        return 1.0;
    }
    const std::uint32_t corner = shown.At(0, 0);
    const HBRUSH background = ::CreateSolidBrush(RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF));
    const RECT all{0, 0, shown.Width(), shown.Height()};
    ::FillRect(drawn.Dc(), &all, background);
    ::DeleteObject(background);
    ::DrawIconEx(drawn.Dc(), 0, 0, icon, shown.Width(), shown.Height(), 0, nullptr, DI_NORMAL);
    int differing = 0;
    for (int y = 0; y < shown.Height(); ++y) {
        for (int x = 0; x < shown.Width(); ++x) {
            differing += SameColour(shown.At(x, y), drawn.At(x, y)) ? 0 : 1;
        }
    }
    return static_cast<double>(differing) / (shown.Width() * shown.Height());
}

}  // namespace

std::optional<Process> Process::Start(const std::filesystem::path& executable,
                                      const std::filesystem::path& workingFolder, const std::string& arguments)
{
    std::wstring commandLine = L"\"" + executable.wstring() + L"\"";
    if (!arguments.empty()) {
        std::wstring wide(arguments.size(), L'\0');
        wide.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_ACP, 0, arguments.data(),
                                                                   static_cast<int>(arguments.size()), wide.data(),
                                                                   static_cast<int>(wide.size()))));
        commandLine += L" " + wide;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    Process process;
    if (!::CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
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

std::vector<Window> WindowsTakingInput(DWORD processId, HWND except)
{
    auto windows = TopLevelWindows(processId);
    std::erase_if(windows, [except](const Window& window) {
        return window.handle == except || ::IsWindowEnabled(window.handle) == FALSE;
    });
    return windows;
}

HWND DialogWithItem(DWORD processId, int id)
{
    for (const auto& window : TopLevelWindows(processId)) {
        if (window.className == "#32770" && ::GetDlgItem(window.handle, id) != nullptr) {
            return window.handle;
        }
    }
    return nullptr;
}

bool HasLoaded(const Process& program, const std::string& library)
{
    std::array<HMODULE, 512> modules{};
    DWORD needed = 0;
    if (!::EnumProcessModules(program.Handle(), modules.data(), sizeof(modules), &needed)) {
        return false;
    }
    for (DWORD i = 0; i < std::min<DWORD>(needed / sizeof(HMODULE), modules.size()); ++i) {
        std::array<char, MAX_PATH> name{};
        if (::GetModuleBaseNameA(program.Handle(), modules[i], name.data(), MAX_PATH) > 0 &&
            ::_stricmp(name.data(), library.c_str()) == 0) {
            return true;
        }
    }
    return false;
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
    const auto length = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return std::string(text.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string RawText(HWND window)
{
    std::array<wchar_t, 1024> wide{};
    return Narrow(wide.data(), ::InternalGetWindowText(window, wide.data(), static_cast<int>(wide.size())));
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
    const auto count = SendWide(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendWide(combo, CB_GETLBTEXTLEN, i, 0, CB_ERR);
        std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        const auto copied = SendWide(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()), CB_ERR);
        entries.push_back(Narrow(text.data(), copied > 0 ? static_cast<int>(std::min<LRESULT>(copied, length)) : 0));
    }
    return entries;
}

std::string ComboSelection(HWND dialog, int id)
{
    const auto selected = Send(::GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0, CB_ERR);
    const auto entries = ComboEntries(dialog, id);
    return selected >= 0 && static_cast<std::size_t>(selected) < entries.size() ? entries[selected] : std::string();
}

bool SelectComboEntry(HWND dialog, int id, const std::string& text)
{
    const auto entries = ComboEntries(dialog, id);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == text) {
            const HWND combo = ::GetDlgItem(dialog, id);
            Send(combo, CB_SETCURSEL, i, 0);
            Send(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
            return true;
        }
    }
    return false;
}

void ShowComboList(HWND dialog, int id, bool show)
{
    Send(::GetDlgItem(dialog, id), CB_SHOWDROPDOWN, show ? TRUE : FALSE, 0);
}

std::optional<MessageBoxView> FindMessageBox(DWORD processId)
{
    for (const auto& window : TopLevelWindows(processId)) {
        if (window.className != "#32770") {
            continue;
        }
        // Told by the kinds of its controls first, without messages: a
        // dialog whose thread is busy is never a waiting message box.
        const auto children = Children(window.handle);
        const bool onlyBoxControls = std::all_of(children.begin(), children.end(), [](HWND child) {
            return IsStatic(child) || ::_stricmp(ClassName(child).c_str(), "Button") == 0;
        });
        // The message text of a box is the static with id 0xFFFF.
        const HWND text = ::GetDlgItem(window.handle, 0xFFFF);
        if (!onlyBoxControls || text == nullptr || !IsStatic(text)) {
            continue;
        }
        MessageBoxView view{window.handle, ::GetWindow(window.handle, GW_OWNER), window.title, Text(text), {}};
        for (HWND child : children) {
            if (!IsStatic(child)) {
                view.buttons.push_back(Text(child));
            }
        }
        return view;
    }
    return std::nullopt;
}

std::optional<MessageBoxView> WaitForMessageBox(DWORD processId, std::chrono::milliseconds wait)
{
    std::optional<MessageBoxView> box;
    WaitUntil(
        [&] {
            box = FindMessageBox(processId);
            return box.has_value();
        },
        wait);
    return box;
}

void Answer(const MessageBoxView& box, int commandId)
{
    Click(box.handle, commandId);
}

bool WaitUntilGone(HWND window, std::chrono::milliseconds wait)
{
    return WaitUntil([&] { return !::IsWindow(window) || !::IsWindowVisible(window); }, wait);
}

StandardIcon MessageBoxIcon(const MessageBoxView& box, std::chrono::milliseconds wait)
{
    HWND iconControl = nullptr;
    for (HWND child : Children(box.handle)) {
        if (IsIconStatic(child) && ::IsWindowVisible(child)) {
            iconControl = child;
        }
    }
    if (iconControl == nullptr) {
        return StandardIcon::None;
    }
    constexpr double kMostDifferent = 0.1;
    const std::array<std::pair<StandardIcon, LPCSTR>, 4> candidates{{{StandardIcon::Error, IDI_HAND},
                                                                     {StandardIcon::Warning, IDI_EXCLAMATION},
                                                                     {StandardIcon::Information, IDI_ASTERISK},
                                                                     {StandardIcon::Question, IDI_QUESTION}}};
    StandardIcon found = StandardIcon::None;
    // Until the box has painted its icon, nothing matches.
    WaitUntil(
        [&] {
            RECT area{};
            ::GetClientRect(iconControl, &area);
            ::MapWindowPoints(iconControl, nullptr, reinterpret_cast<POINT*>(&area), 2);
            PixelCanvas shown(area.right - area.left, area.bottom - area.top);
            if (shown.Width() <= 0 || shown.Height() <= 0 || !shown.Valid()) {
                return false;
            }
            const HDC screen = ::GetDC(nullptr);
            ::BitBlt(shown.Dc(), 0, 0, shown.Width(), shown.Height(), screen, area.left, area.top, SRCCOPY);
            ::ReleaseDC(nullptr, screen);
            double best = kMostDifferent;
            for (const auto& [kind, resource] : candidates) {
                const double difference = IconDifference(shown, resource);
                if (difference < best) {
                    best = difference;
                    found = kind;
                }
            }
            return found != StandardIcon::None;
        },
        wait);
    return found;
}

bool WaitUntilPainted(HWND window, std::chrono::milliseconds wait)
{
    return WaitUntil(
        [&] {
            if (::GetUpdateRect(window, nullptr, FALSE)) {
                return false;
            }
            for (HWND child : Children(window)) {
                if (::IsWindowVisible(child) && ::GetUpdateRect(child, nullptr, FALSE)) {
                    return false;
                }
            }
            return true;
        },
        wait);
}

bool Activate(HWND window, std::chrono::milliseconds wait)
{
    return WaitUntil(
        [&] {
            ::SetForegroundWindow(window);
            return ::GetForegroundWindow() == window;
        },
        wait);
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

BystanderWindow::BystanderWindow()
    : m_thread([this] {
          static constexpr const char* kClass = "VR38Bystander";
          WNDCLASSA windowClass{};
          windowClass.lpfnWndProc = &BystanderWindow::Procedure;
          windowClass.hInstance = ::GetModuleHandleA(nullptr);
          windowClass.lpszClassName = kClass;
          ::RegisterClassA(&windowClass);  // fails harmlessly when a window before registered it
          const HWND window = ::CreateWindowExA(0, kClass, "Another program", WS_OVERLAPPEDWINDOW, 0, 0, 240, 120,
                                                nullptr, nullptr, windowClass.hInstance, nullptr);
          ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
          ::ShowWindow(window, SW_SHOW);
          m_window = window;
          MSG message{};
          while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
              ::DispatchMessageA(&message);
          }
      })
{
    WaitUntil([this] { return m_window != nullptr && Activate(m_window) && m_activations > 0; });
    m_activations = 0;
}

BystanderWindow::~BystanderWindow()
{
    WaitUntil([this] { return m_window != nullptr; });
    ::PostMessageA(m_window, WM_CLOSE, 0, 0);
    m_thread.join();
}

LRESULT CALLBACK BystanderWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<BystanderWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && self != nullptr) {
        ++self->m_activations;
    } else if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace uidriver
