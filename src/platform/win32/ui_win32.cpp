// The user interface on Win32: dialogs from the program's own dialog
// resources with real controls, message boxes, strings and the posted
// completion notice.

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/dialog_internal.h"
#include "platform/power.h"
#include "platform/ui.h"
#include "platform/unique_handle.h"

namespace platform {
namespace {

// A command posted from another thread; kept apart from WM_COMMAND, which
// the dialog manager also sends for the Enter key.
constexpr UINT WM_POSTED_COMMAND = WM_APP + 0x38;
// EndDialog asked for by another thread than the dialog's.
constexpr UINT WM_END_MODAL = WM_APP + 0x39;

// The state of a modal run, kept as a property of the dialog's window.
constexpr const char* kModalRunProperty = "VR38.ModalRun";
struct ModalRun {
    HWND owner = nullptr;
    bool ownerDisabled = false;  // by the run, which enables it again
    bool ended = false;
    int result = -1;
};

ModalRun* ModalRunOf(HWND hwnd)
{
    return hwnd != nullptr ? static_cast<ModalRun*>(::GetPropA(hwnd, kModalRunProperty)) : nullptr;
}

// Ends a modal run, on the dialog's own thread, as the system's EndDialog
// does: the owner takes input again before the dialog hides without
// activating another window, and an active dialog hands the activation to
// its owner, even one not shown yet. Destroying or hiding the active dialog
// instead would make the system look for another window while the owner is
// still disabled or hidden: another program's.
void EndModalRun(HWND hwnd, ModalRun& run, int result)
{
    if (run.ended) {
        return;
    }
    run.ended = true;
    run.result = result;
    if (run.ownerDisabled) {
        ::EnableWindow(run.owner, TRUE);
        run.ownerDisabled = false;
    }
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    if (run.owner != nullptr && ::GetActiveWindow() == hwnd) {
        ::SetForegroundWindow(run.owner);
    }
    ::PostMessageA(nullptr, WM_NULL, 0, 0);  // wakes the thread's loop
}

void EndModalRun(HWND hwnd, int result)
{
    if (auto* run = ModalRunOf(hwnd)) {
        EndModalRun(hwnd, *run, result);
    }
}

HWND Hwnd(DialogWindow* window)
{
    return reinterpret_cast<HWND>(window);
}

HINSTANCE ProgramInstance()
{
    return ::GetModuleHandleA(nullptr);
}

void InitialiseControls()
{
    static std::once_flag once;
    std::call_once(once, [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_ANIMATE_CLASS | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
    });
}

std::string WindowText(HWND window)
{
    if (window == nullptr) {
        return {};
    }
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

Dialog* g_mainWindow = nullptr;

HICON LoadProgramIcon(int id)
{
    return ::LoadIconA(ProgramInstance(), MAKEINTRESOURCEA(id));
}

void DestroyIconHandle(HICON icon)
{
    ::DestroyIcon(icon);
}

// The program's icon at the system's small size, from the resource's own
// small image rather than the large one scaled down. Loaded once; LoadImage
// without LR_SHARED hands the icon over, so it goes when the program ends.
HICON LoadSmallProgramIcon(int id)
{
    static std::map<int, UniqueHandle<HICON, &DestroyIconHandle>> icons;
    auto& icon = icons[id];
    if (!icon) {
        icon.Reset(static_cast<HICON>(::LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                                   LR_DEFAULTCOLOR)));
    }
    return icon.Get();
}

}  // namespace

class DialogBackend {
public:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* dialog = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
        switch (message) {
            case WM_INITDIALOG:
                dialog = reinterpret_cast<Dialog*>(lParam);
                ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
                dialog->m_window = reinterpret_cast<DialogWindow*>(hwnd);
                return dialog->OnInitDialog() ? TRUE : FALSE;
            case WM_COMMAND:
                if (dialog != nullptr) {
                    dialog->OnCommand(LOWORD(wParam), CommandSource::User);
                    return TRUE;
                }
                break;
            case WM_POSTED_COMMAND:
                if (dialog != nullptr) {
                    dialog->OnCommand(static_cast<int>(wParam), CommandSource::Posted);
                    return TRUE;
                }
                break;
            case WM_END_MODAL:
                EndModalRun(hwnd, static_cast<int>(wParam));
                return TRUE;
            case WM_TIMER:
                if (dialog != nullptr) {
                    dialog->OnTimer(static_cast<unsigned>(wParam));
                    return TRUE;
                }
                break;
            case WM_SYSCOMMAND:
                if (dialog != nullptr && dialog->OnSysCommand(static_cast<unsigned>(wParam))) {
                    return TRUE;
                }
                break;
            case WM_PAINT:
                if (dialog != nullptr && dialog->OnPaint()) {
                    return TRUE;
                }
                break;
            case WM_QUERYDRAGICON:
                if (dialog != nullptr) {
                    // One of the messages whose result the dialog procedure
                    // returns itself: DWLP_MSGRESULT is not read for it.
                    if (const int icon = dialog->OnQueryDragIcon(); icon != 0) {
                        return reinterpret_cast<INT_PTR>(LoadProgramIcon(icon));
                    }
                }
                break;
            case WM_QUERYENDSESSION:
                ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, SessionMayEnd() ? TRUE : FALSE);
                return TRUE;
            case WM_DESTROY:
                if (dialog != nullptr) {
                    dialog->OnDestroy();
                }
                EndModalRun(hwnd, ID_CANCEL);  // a modal dialog destroyed ends its run
                break;
            case WM_NCDESTROY:
                if (dialog != nullptr) {
                    ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
                    dialog->m_window = nullptr;
                    dialog->PostNcDestroy();
                    ReleaseIfSelfOwned(dialog);
                }
                break;
            default:
                break;
        }
        return FALSE;
    }

    static HWND ParentWindow(Dialog* parent) { return parent != nullptr ? Hwnd(parent->m_window) : nullptr; }

    // The dialog manager's modal loop, but the dialog shows once, at once:
    // the manager would show it again when its queue first runs empty, after
    // the program may have hidden it.
    static int RunModal(Dialog& dialog)
    {
        ModalRun run;
        run.owner = ParentWindow(dialog.m_parent);
        // EnableWindow answers whether the window was disabled before.
        run.ownerDisabled = run.owner != nullptr && ::EnableWindow(run.owner, FALSE) == FALSE;
        const HWND hwnd = ::CreateDialogParamA(ProgramInstance(), MAKEINTRESOURCEA(dialog.m_templateId), run.owner,
                                               Procedure, reinterpret_cast<LPARAM>(&dialog));
        if (hwnd != nullptr) {
            ::SetPropA(hwnd, kModalRunProperty, &run);
            if (dialog.m_endedInInit) {
                EndModalRun(hwnd, run, dialog.m_initResult);
            }
            if (!run.ended) {
                ::ShowWindow(hwnd, SW_SHOWNORMAL);
                ::UpdateWindow(hwnd);
            }
            MSG message{};
            while (!run.ended) {
                const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
                if (got == 0 || got == -1) {
                    if (got == 0) {
                        ::PostQuitMessage(static_cast<int>(message.wParam));
                    }
                    EndModalRun(hwnd, run, -1);
                    break;
                }
                if (!::IsDialogMessageA(hwnd, &message)) {
                    ::TranslateMessage(&message);
                    ::DispatchMessageA(&message);
                }
            }
        }
        if (run.ownerDisabled) {  // no window was made
            ::EnableWindow(run.owner, TRUE);
        }
        if (hwnd != nullptr && ::IsWindow(hwnd)) {
            ::RemovePropA(hwnd, kModalRunProperty);
            ::DestroyWindow(hwnd);
        }
        dialog.m_endedInInit = false;
        return hwnd != nullptr ? run.result : -1;
    }

    static void Detach(Dialog& dialog)
    {
        if (dialog.m_window != nullptr) {
            const HWND hwnd = Hwnd(dialog.m_window);
            ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
            dialog.m_window = nullptr;
            ::DestroyWindow(hwnd);
        }
    }
};

Dialog::Dialog(int templateId, Dialog* parent) : m_templateId(templateId), m_parent(parent) {}

Dialog::~Dialog()
{
    // The window outlives no object: it goes without calling back into it.
    DialogBackend::Detach(*this);
    if (g_mainWindow == this) {
        g_mainWindow = nullptr;
    }
}

int Dialog::DoModal()
{
    InitialiseControls();
    m_modal = true;
    const int result = DialogBackend::RunModal(*this);
    m_modal = false;
    return result;
}

bool Dialog::Create(Dialog* parent)
{
    InitialiseControls();
    m_parent = parent;
    return ::CreateDialogParamA(ProgramInstance(), MAKEINTRESOURCEA(m_templateId), DialogBackend::ParentWindow(parent),
                                DialogBackend::Procedure, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::DestroyWindow()
{
    if (m_window != nullptr) {
        ::DestroyWindow(Hwnd(m_window));
    }
}

void Dialog::EndDialog(int result)
{
    const HWND hwnd = Hwnd(m_window);
    if (!m_modal || hwnd == nullptr) {
        return;
    }
    if (ModalRunOf(hwnd) == nullptr) {
        // Still in OnInitDialog: the run begins ended.
        m_endedInInit = true;
        m_initResult = result;
    } else if (::GetWindowThreadProcessId(hwnd, nullptr) == ::GetCurrentThreadId()) {
        EndModalRun(hwnd, result);
    } else {
        ::SendMessageA(hwnd, WM_END_MODAL, static_cast<WPARAM>(result), 0);
    }
}

void Dialog::SetCaption(const std::string& text)
{
    ::SetWindowTextA(Hwnd(m_window), text.c_str());
}

std::string Dialog::GetCaption() const
{
    return WindowText(Hwnd(m_window));
}

void Dialog::Show(bool show)
{
    ::ShowWindow(Hwnd(m_window), show ? SW_SHOW : SW_HIDE);
    if (show) {
        // Painted now: the dialog's thread may not get to paint it soon.
        ::UpdateWindow(Hwnd(m_window));
    }
}

bool Dialog::IsVisible() const
{
    return m_window != nullptr && ::IsWindowVisible(Hwnd(m_window)) != FALSE;
}

Rect Dialog::GetWindowRect() const
{
    RECT rect{};
    ::GetWindowRect(Hwnd(m_window), &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void Dialog::MoveToTop(int x, int y)
{
    ::SetWindowPos(Hwnd(m_window), HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void Dialog::SetTimer(unsigned id, int milliseconds)
{
    ::SetTimer(Hwnd(m_window), id, static_cast<UINT>(milliseconds), nullptr);
}

void Dialog::KillTimer(unsigned id)
{
    ::KillTimer(Hwnd(m_window), id);
}

void Dialog::SetItemText(int id, const std::string& text)
{
    ::SetDlgItemTextA(Hwnd(m_window), id, text.c_str());
}

std::string Dialog::GetItemText(int id) const
{
    return WindowText(::GetDlgItem(Hwnd(m_window), id));
}

void Dialog::EnableItem(int id, bool enable)
{
    ::EnableWindow(::GetDlgItem(Hwnd(m_window), id), enable ? TRUE : FALSE);
}

bool Dialog::IsItemEnabled(int id) const
{
    const HWND item = ::GetDlgItem(Hwnd(m_window), id);
    return item != nullptr && ::IsWindowEnabled(item) != FALSE;
}

void Dialog::ShowItem(int id, bool show)
{
    ::ShowWindow(::GetDlgItem(Hwnd(m_window), id), show ? SW_SHOW : SW_HIDE);
}

bool Dialog::IsItemVisible(int id) const
{
    const HWND item = ::GetDlgItem(Hwnd(m_window), id);
    return item != nullptr && ::IsWindowVisible(item) != FALSE;
}

void Dialog::SetProgressRange(int id, int low, int high)
{
    ::SendDlgItemMessageA(Hwnd(m_window), id, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void Dialog::SetProgressPos(int id, int position)
{
    ::SendDlgItemMessageA(Hwnd(m_window), id, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

bool Dialog::OpenAnimation(int id, int clipResourceId)
{
    return ::SendDlgItemMessageA(Hwnd(m_window), id, ACM_OPENA, reinterpret_cast<WPARAM>(ProgramInstance()),
                                 reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(clipResourceId))) != 0;
}

int Dialog::ComboAddString(int id, const std::string& text)
{
    return static_cast<int>(
        ::SendDlgItemMessageA(Hwnd(m_window), id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int Dialog::ComboFindStringExact(int id, const std::string& text) const
{
    const auto found = ::SendDlgItemMessageA(Hwnd(m_window), id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(text.c_str()));
    return found == CB_ERR ? -1 : static_cast<int>(found);
}

int Dialog::ComboGetCount(int id) const
{
    const auto count = ::SendDlgItemMessageA(Hwnd(m_window), id, CB_GETCOUNT, 0, 0);
    return count == CB_ERR ? 0 : static_cast<int>(count);
}

void Dialog::ComboSetCurSel(int id, int index)
{
    ::SendDlgItemMessageA(Hwnd(m_window), id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Dialog::ComboGetCurSel(int id) const
{
    const auto selection = ::SendDlgItemMessageA(Hwnd(m_window), id, CB_GETCURSEL, 0, 0);
    return selection == CB_ERR ? -1 : static_cast<int>(selection);
}

std::string Dialog::ComboGetText(int id, int index) const
{
    const HWND dialog = Hwnd(m_window);
    const auto length = ::SendDlgItemMessageA(dialog, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const auto copied = ::SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                              reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

void Dialog::EnableSibling(int id, int offset, bool enable)
{
    const HWND control = ::GetDlgItem(Hwnd(m_window), id);
    const HWND sibling = control == nullptr ? nullptr : ::GetWindow(control, offset < 0 ? GW_HWNDPREV : GW_HWNDNEXT);
    if (sibling != nullptr) {
        ::EnableWindow(sibling, enable ? TRUE : FALSE);
    }
}

bool Dialog::IsSiblingEnabled(int id, int offset) const
{
    const HWND control = ::GetDlgItem(Hwnd(m_window), id);
    const HWND sibling = control == nullptr ? nullptr : ::GetWindow(control, offset < 0 ? GW_HWNDPREV : GW_HWNDNEXT);
    return sibling != nullptr && ::IsWindowEnabled(sibling) != FALSE;
}

bool Dialog::HasSystemMenu() const
{
    return ::GetSystemMenu(Hwnd(m_window), FALSE) != nullptr;
}

void Dialog::AppendSystemMenuSeparator()
{
    if (const HMENU menu = ::GetSystemMenu(Hwnd(m_window), FALSE)) {
        ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    }
}

void Dialog::AppendSystemMenuItem(unsigned commandId, const std::string& text)
{
    if (const HMENU menu = ::GetSystemMenu(Hwnd(m_window), FALSE)) {
        ::AppendMenuA(menu, MF_STRING, commandId, text.c_str());
    }
}

void Dialog::SetIcon(int iconResourceId, bool big)
{
    ::SendMessageA(
        Hwnd(m_window), WM_SETICON, big ? ICON_BIG : ICON_SMALL,
        reinterpret_cast<LPARAM>(big ? LoadProgramIcon(iconResourceId) : LoadSmallProgramIcon(iconResourceId)));
}

bool Dialog::IsMinimized() const
{
    return ::IsIconic(Hwnd(m_window)) != FALSE;
}

Rect Dialog::GetClientRect() const
{
    RECT rect{};
    ::GetClientRect(Hwnd(m_window), &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void Dialog::PaintIcon(int iconResourceId, int x, int y)
{
    const HWND hwnd = Hwnd(m_window);
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(hwnd, &paint);
    ::SendMessageA(hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::DrawIcon(dc, x, y, LoadProgramIcon(iconResourceId));
    ::EndPaint(hwnd, &paint);
}

Size SystemIconSize()
{
    return {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)};
}

void PostCommand(DialogHandle window, int commandId)
{
    ::PostMessageA(Hwnd(window), WM_POSTED_COMMAND, static_cast<WPARAM>(commandId), 0);
}

std::uint32_t CurrentThreadToken()
{
    return ::GetCurrentThreadId();
}

void HandleMessagesUntil(const std::function<bool()>& done)
{
    // Sent and posted messages, timers and painting; mouse and keys stay
    // queued for the loop after.
    constexpr UINT kHandled = PM_QS_SENDMESSAGE | PM_QS_POSTMESSAGE | PM_QS_PAINT;
    constexpr DWORD kWakeFor = QS_SENDMESSAGE | QS_POSTMESSAGE | QS_TIMER | QS_PAINT;
    std::optional<WPARAM> quit;
    for (;;) {
        MSG message{};
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | kHandled)) {
            if (message.message == WM_QUIT) {
                quit = message.wParam;
            } else {
                ::TranslateMessage(&message);
                ::DispatchMessageA(&message);
            }
        }
        if (done()) {
            break;
        }
        ::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, kWakeFor, MWMO_INPUTAVAILABLE);
    }
    if (quit) {
        ::PostQuitMessage(static_cast<int>(*quit));
    }
}

void WakeMessageLoop(std::uint32_t thread)
{
    ::PostThreadMessageA(thread, WM_NULL, 0, 0);
}

void PrepareThreadForMessages()
{
    MSG message{};
    ::PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
}

DialogHandle LastActivePopup(DialogHandle owner)
{
    const HWND popup = ::GetLastActivePopup(Hwnd(owner));
    return popup != nullptr && ::IsWindowVisible(popup) ? reinterpret_cast<DialogHandle>(popup) : owner;
}

namespace {

struct ProgramWindows {
    HWND except;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectInputWindow(HWND window, LPARAM parameter)
{
    auto& windows = *reinterpret_cast<ProgramWindows*>(parameter);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId() && window != windows.except && ::IsWindowVisible(window) &&
        ::IsWindowEnabled(window)) {
        windows.found.push_back(window);
    }
    return TRUE;
}

// The program's shown windows that take input, but the one named.
std::vector<HWND> InputWindows(HWND except)
{
    ProgramWindows windows{except, {}};
    ::EnumWindows(&CollectInputWindow, reinterpret_cast<LPARAM>(&windows));
    return windows.found;
}

}  // namespace

int ShowMessageBox(const std::string& text, MessageButtons buttons, MessageIcon icon)
{
    UINT style = buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    switch (icon) {
        case MessageIcon::Error:
            style |= MB_ICONERROR;
            break;
        case MessageIcon::Information:
            style |= MB_ICONINFORMATION;
            break;
        case MessageIcon::Default:
        case MessageIcon::Warning:
            style |= MB_ICONEXCLAMATION;
            break;
    }
    // MessageBox disables its owner; the program's other shown windows (a
    // modeless dialog) take no input while the box is up either.
    const HWND owner = Hwnd(MessageBoxOwner());
    auto others = InputWindows(owner);
    for (const HWND window : others) {
        ::EnableWindow(window, FALSE);
    }
    const int answer = ::MessageBoxA(owner, text.c_str(), ApplicationName().c_str(), style);
    for (const HWND window : others) {
        ::EnableWindow(window, TRUE);
    }
    return answer;
}

std::string LoadResourceString(int id)
{
    // A string table entry holds at most 4097 characters.
    std::vector<char> buffer(4098);
    const int length =
        ::LoadStringA(ProgramInstance(), static_cast<UINT>(id), buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

Dialog* MainWindow()
{
    return g_mainWindow;
}

void SetMainWindow(Dialog* dialog)
{
    g_mainWindow = dialog;
}

Rect DesktopWorkArea()
{
    RECT area{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return {area.left, area.top, area.right, area.bottom};
}

WaitCursor::WaitCursor() : m_previous(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}

WaitCursor::~WaitCursor()
{
    ::SetCursor(static_cast<HCURSOR>(m_previous));
}

}  // namespace platform
