// The headless user interface: dialogs made from the templates of the
// program's .rc, run under a test's script, every operation recorded.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "platform/dialog_internal.h"
#include "platform/headless/letter_case.h"
#include "platform/headless/resource_script.h"
#include "platform/headless/ui_driver.h"
#include "platform/power.h"

namespace platform {

struct DialogWindow {
    struct Control {
        const headless::ControlTemplate* layout;
        std::string text;
        bool enabled;
        bool visible;
        int low = 0;
        int high = 100;
        int position = 0;
        std::vector<std::string> items;
        int selection = -1;
    };

    Dialog* dialog = nullptr;
    const headless::DialogTemplate* layout = nullptr;
    std::thread::id thread;
    std::string caption;
    bool visible = false;
    Rect rect;
    std::vector<Control> controls;
    bool modal = false;
    bool ended = false;
    int result = 0;
    bool minimized = false;
    std::vector<std::pair<unsigned, std::string>> systemMenu;  // added items; 0 for a separator
    bool enabled = true;                                       // the window as a whole takes input
    DialogWindow* owner = nullptr;                             // the parent's window
    bool ownerDisabled = false;                                // by the modal run, which enables it again
    DialogWindow* lastActivePopup = nullptr;                   // of the windows it owns, the one last shown
    struct Timer {
        int interval;
        long long due;  // on the virtual clock
    };
    std::map<unsigned, Timer> timers;

    Control* Find(int id)
    {
        const auto found = std::ranges::find(controls, id, [](const Control& c) { return c.layout->id; });
        return found == controls.end() ? nullptr : &*found;
    }
};

namespace {

using headless::MessageBoxRecord;
using headless::UiEvent;
using headless::UiScript;

// Headless windows measure their templates at 1.5 pixels per horizontal and
// 2 pixels per vertical dialog unit.
Rect TemplateRect(const headless::DialogTemplate& layout)
{
    return {0, 0, layout.cx * 3 / 2, layout.cy * 2};
}

struct UiState {
    std::mutex mutex;
    std::condition_variable wake;
    std::vector<UiEvent> events;
    std::vector<MessageBoxRecord> boxes;
    UiScript script;
    Dialog* mainWindow = nullptr;
    std::thread::id uiThread = std::this_thread::get_id();
    std::deque<std::function<void()>> tasks;  // for the dialogs' thread
    std::map<DialogWindow*, std::unique_ptr<DialogWindow>> windows;
    std::map<int, std::string> replacedStrings;
    std::set<int> unavailableTemplates;
    long long clockMs = 0;  // virtual time; it moves only when a timer is due
    std::function<void(const std::string&)> faultHandler;
    std::atomic<int> stallMs = headless::kStallMilliseconds;
    bool quitPosted = false;  // a quit message waits on the dialogs' thread
    // The desktop: the top-level windows in z order, topmost first, the
    // program's and, once placed, another program's; and the active window.
    std::vector<DialogWindow*> zOrder;
    DialogWindow* active = nullptr;
    DialogWindow otherProgram;  // shown and enabled; in zOrder once placed
    int otherProgramActivations = 0;
};

UiState& State()
{
    static UiState state;
    return state;
}

bool IsLive(DialogWindow* window)
{
    std::lock_guard lock(State().mutex);
    return State().windows.contains(window);
}

void Record(UiEvent event, Dialog* dialog)
{
    std::function<void(Dialog&, const UiEvent&)> handler;
    {
        std::lock_guard lock(State().mutex);
        State().events.push_back(event);
        handler = State().script.onEvent;
    }
    if (handler && dialog != nullptr) {
        handler(*dialog, event);
    }
}

void Record(DialogWindow* window, std::string op, int control = 0, std::string text = {}, int value = 0, int value2 = 0,
            bool fromOtherThread = false)
{
    Record({window->layout->id, std::move(op), control, std::move(text), value, value2, fromOtherThread},
           window->dialog);
}

void Enqueue(std::function<void()> task)
{
    {
        std::lock_guard lock(State().mutex);
        State().tasks.push_back(std::move(task));
    }
    State().wake.notify_all();
}

void ReportFault(const std::string& fault);

// Runs fn(fromOtherThread) on the window's thread: at once when the caller is
// that thread, otherwise through the dialog loop while the caller waits.
template <class Fn>
auto OnWindowThread(DialogWindow* window, Fn fn) -> decltype(fn(false))
{
    using Result = decltype(fn(false));
    if (window == nullptr) {
        return Result();
    }
    if (std::this_thread::get_id() == window->thread) {
        return fn(false);
    }
    auto task = std::make_shared<std::packaged_task<Result()>>(
        [window, fn]() mutable { return IsLive(window) ? fn(true) : Result(); });
    auto done = task->get_future();
    Enqueue([task] { (*task)(); });
    if (done.wait_for(std::chrono::milliseconds(State().stallMs.load())) != std::future_status::ready) {
        Record({0, "stalled", 0, "operation from another thread not carried out", 0, 0, true}, nullptr);
        ReportFault("a window operation from another thread was not carried out within " +
                    std::to_string(State().stallMs.load()) + " ms");
        return Result();
    }
    return done.get();
}

// The window as a whole enabled or disabled, on its thread; returns whether
// it was enabled before.
bool SetEnabled(DialogWindow* window, bool enable)
{
    return OnWindowThread(window, [window, enable](bool other) {
        const bool was = window->enabled;
        if (was != enable) {
            window->enabled = enable;
            Record(window, enable ? "enable" : "disable", 0, {}, 0, 0, other);
        }
        return was;
    });
}

// Moves a window to the top of the z order, the windows it owns above it.
// Under the state's lock.
void RaiseLocked(DialogWindow* window)
{
    auto& order = State().zOrder;
    std::erase(order, window);
    order.insert(order.begin(), window);
    const auto owned = [window](DialogWindow* other) {
        for (auto* owner = other->owner; owner != nullptr; owner = owner->owner) {
            if (owner == window) {
                return true;
            }
        }
        return false;
    };
    std::stable_partition(order.begin(), order.end(), owned);
}

// Makes a window the active one (none for null): it comes to the top, and
// becomes the last active popup of the window that owns it.
void SetActive(DialogWindow* window)
{
    {
        std::lock_guard lock(State().mutex);
        auto& state = State();
        if (state.active == window) {
            return;
        }
        state.active = window;
        if (window == nullptr) {
            return;
        }
        RaiseLocked(window);
        auto* root = window;
        while (root->owner != nullptr) {
            root = root->owner;
        }
        if (root != window) {
            root->lastActivePopup = window;
        }
        if (window == &state.otherProgram) {
            ++state.otherProgramActivations;
        }
    }
    if (window == &State().otherProgram) {
        Record({0, "activate", 0, "another program", 0, 0, false}, nullptr);
    } else if (window != nullptr) {
        Record(window, "activate");
    }
}

bool IsActive(DialogWindow* window)
{
    std::lock_guard lock(State().mutex);
    return State().active == window;
}

// The active window hides or goes: the system activates its owner when that
// takes input, else the next window down the z order that does, else the
// first from the top; none when no window does. That window may be another
// program's.
void ActivateAnother(DialogWindow* leaving)
{
    DialogWindow* next = nullptr;
    {
        std::lock_guard lock(State().mutex);
        const auto takesInput = [leaving](DialogWindow* window) {
            return window != leaving && window->visible && window->enabled;
        };
        if (leaving->owner != nullptr && takesInput(leaving->owner)) {
            next = leaving->owner;
        } else {
            auto order = State().zOrder;
            const auto at = std::ranges::find(order, leaving);
            std::rotate(order.begin(), at == order.end() ? at : at + 1, order.end());
            const auto found = std::ranges::find_if(order, takesInput);
            next = found == order.end() ? nullptr : *found;
        }
    }
    SetActive(next);
}

std::vector<DialogWindow*> LiveWindows()
{
    std::lock_guard lock(State().mutex);
    std::vector<DialogWindow*> live;
    for (const auto& entry : State().windows) {
        live.push_back(entry.first);
    }
    return live;
}

void ReportFault(const std::string& fault)
{
    std::function<void(const std::string&)> handler;
    {
        std::lock_guard lock(State().mutex);
        handler = State().faultHandler;
    }
    if (handler) {
        handler(fault);
        return;
    }
    std::fprintf(stderr, "headless user interface: %s\n", fault.c_str());
    std::abort();
}

}  // namespace

DialogHandle LastActivePopup(DialogHandle owner)
{
    return OnWindowThread(owner, [owner](bool) {
        std::lock_guard lock(State().mutex);
        auto* popup = owner->lastActivePopup;
        return popup != nullptr && State().windows.contains(popup) && popup->visible ? popup : owner;
    });
}

class DialogBackend {
public:
    static DialogWindow* MakeWindow(Dialog& dialog, bool modal)
    {
        const auto& dialogs = headless::ProgramResources().dialogs;
        const auto found = dialogs.find(dialog.m_templateId);
        if (found == dialogs.end()) {
            return nullptr;
        }
        {
            std::lock_guard lock(State().mutex);
            if (State().unavailableTemplates.contains(dialog.m_templateId)) {
                return nullptr;
            }
        }
        auto window = std::make_unique<DialogWindow>();
        window->dialog = &dialog;
        window->layout = &found->second;
        window->thread = std::this_thread::get_id();
        window->caption = found->second.caption.value_or("");
        window->rect = TemplateRect(found->second);
        window->modal = modal;
        window->owner = dialog.m_parent != nullptr ? dialog.m_parent->m_window : nullptr;
        for (const auto& control : found->second.controls) {
            DialogWindow::Control state{};
            state.layout = &control;
            state.text = control.text;
            state.enabled = control.InitiallyEnabled();
            state.visible = control.InitiallyVisible();
            window->controls.push_back(std::move(state));
        }
        auto* raw = window.get();
        {
            std::lock_guard lock(State().mutex);
            State().windows.emplace(raw, std::move(window));
            RaiseLocked(raw);  // a new window comes at the top
        }
        dialog.m_window = raw;
        Record(raw, "create");
        return raw;
    }

    static bool Init(Dialog& dialog) { return dialog.OnInitDialog(); }
    static bool SysCommand(Dialog& dialog, unsigned id) { return dialog.OnSysCommand(id); }
    static bool Paint(Dialog& dialog) { return dialog.OnPaint(); }
    static int DragIcon(Dialog& dialog) { return dialog.OnQueryDragIcon(); }
    static void Timer(Dialog& dialog, unsigned id) { dialog.OnTimer(id); }

    static void Command(Dialog& dialog, int id, CommandSource source)
    {
        Record(dialog.m_window, "command", id, source == CommandSource::Posted ? "posted" : "user");
        dialog.OnCommand(id, source);
    }

    // The window goes: it hides, handing on the activation if it had it,
    // then OnDestroy, then PostNcDestroy, which may delete a self-owned dialog.
    static void Destroy(Dialog& dialog)
    {
        auto* window = dialog.m_window;
        if (window == nullptr) {
            return;
        }
        window->visible = false;
        if (IsActive(window)) {
            ActivateAnother(window);
        }
        dialog.OnDestroy();
        Record(window, "destroy");
        Forget(dialog);
        dialog.PostNcDestroy();
        ReleaseIfSelfOwned(&dialog);
    }

    static void Forget(Dialog& dialog)
    {
        std::unique_ptr<DialogWindow> gone;
        {
            std::lock_guard lock(State().mutex);
            const auto found = State().windows.find(dialog.m_window);
            if (found != State().windows.end()) {
                gone = std::move(found->second);
                State().windows.erase(found);
                // Nothing keeps pointing at it.
                std::erase(State().zOrder, gone.get());
                if (State().active == gone.get()) {
                    State().active = nullptr;
                }
                for (auto& entry : State().windows) {
                    auto& window = *entry.second;
                    if (window.lastActivePopup == gone.get()) {
                        window.lastActivePopup = nullptr;
                    }
                    if (window.owner == gone.get()) {
                        window.owner = nullptr;
                    }
                }
            }
        }
        dialog.m_window = nullptr;
    }

    // The earliest timer due among the windows of this thread, if any; the
    // virtual clock moves to it.
    static std::optional<std::pair<DialogWindow*, unsigned>> DueTimer()
    {
        std::lock_guard lock(State().mutex);
        std::optional<std::pair<DialogWindow*, unsigned>> due;
        long long at = 0;
        for (const auto& [raw, window] : State().windows) {
            if (window->thread != std::this_thread::get_id()) {
                continue;
            }
            for (const auto& [id, timer] : window->timers) {
                if (!due || timer.due < at) {
                    due = std::pair{raw, id};
                    at = timer.due;
                }
            }
        }
        if (due) {
            State().clockMs = std::max(State().clockMs, at);
            auto& timer = due->first->timers.at(due->second);
            timer.due = State().clockMs + timer.interval;
        }
        return due;
    }

    // Ends a modal run as the system's EndDialog does (see Dialog::EndDialog).
    static void EndRun(DialogWindow* window, int result, bool fromOtherThread)
    {
        if (!window->modal || window->ended) {
            return;
        }
        window->ended = true;
        window->result = result;
        Record(window, "end", 0, {}, result, 0, fromOtherThread);
        if (window->ownerDisabled && window->owner != nullptr) {
            SetEnabled(window->owner, true);
        }
        window->ownerDisabled = false;
        if (window->visible) {
            window->visible = false;
            Record(window, "hide", 0, {}, 0, 0, fromOtherThread);
        }
        if (window->owner != nullptr && IsActive(window)) {
            SetActive(window->owner);
        }
        State().wake.notify_all();
    }

    // The dialogs' thread handles what comes (other threads' operations and
    // posted commands, then a quit message, then timers) until finished();
    // a modal run's loop (window given) ends on a quit message.
    static void RunLoop(const std::function<bool()>& finished, DialogWindow* window)
    {
        while (!finished()) {
            std::function<void()> task;
            {
                std::unique_lock lock(State().mutex);
                if (State().tasks.empty()) {
                    if (window != nullptr && State().quitPosted) {
                        lock.unlock();
                        Record(window, "quit");
                        EndRun(window, -1, false);
                        continue;
                    }
                    // As WM_TIMER: only when nothing else waits.
                    lock.unlock();
                    if (const auto due = DueTimer()) {
                        Record(due->first, "timer", 0, {}, static_cast<int>(due->second),
                               static_cast<int>(State().clockMs));
                        Timer(*due->first->dialog, due->second);
                        continue;
                    }
                    lock.lock();
                }
                if (!State().wake.wait_for(lock, std::chrono::milliseconds(State().stallMs.load()), [&] {
                        return !State().tasks.empty() || finished() || (window != nullptr && State().quitPosted);
                    })) {
                    lock.unlock();
                    const std::string where =
                        window != nullptr ? "dialog " + std::to_string(window->layout->id) : "a wait for a thread";
                    Record({window != nullptr ? window->layout->id : 0, "stalled", 0, "loop waited in vain"},
                           window != nullptr ? window->dialog : nullptr);
                    if (window != nullptr) {
                        window->ended = true;
                        window->result = -1;
                    }
                    ReportFault(where + " waited " + std::to_string(State().stallMs.load()) +
                                " ms for anything to happen");
                    break;
                }
                if (State().tasks.empty()) {
                    continue;
                }
                task = std::move(State().tasks.front());
                State().tasks.pop_front();
            }
            task();
        }
    }
};

Dialog::Dialog(int templateId, Dialog* parent) : m_templateId(templateId), m_parent(parent) {}

Dialog::~Dialog()
{
    if (m_window != nullptr) {
        DialogBackend::Forget(*this);
    }
    std::lock_guard lock(State().mutex);
    if (State().mainWindow == this) {
        State().mainWindow = nullptr;
    }
}

int Dialog::DoModal()
{
    auto* window = DialogBackend::MakeWindow(*this, true);
    if (window == nullptr) {
        return -1;
    }
    window->ownerDisabled = window->owner != nullptr && SetEnabled(window->owner, false);
    DialogBackend::Init(*this);
    if (!window->ended) {
        window->visible = true;
        Record(window, "show");
        SetActive(window);
        std::function<void(Dialog&)> onShown;
        {
            std::lock_guard lock(State().mutex);
            onShown = State().script.onShown;
        }
        if (onShown && !window->ended) {
            onShown(*this);
        }
    }
    DialogBackend::RunLoop([window] { return window->ended; }, window);
    const int result = window->result;
    if (window->ownerDisabled && window->owner != nullptr) {  // the loop stalled
        SetEnabled(window->owner, true);
    }
    DialogBackend::Destroy(*this);
    return result;
}

bool Dialog::Create(Dialog* parent)
{
    m_parent = parent;
    auto* window = DialogBackend::MakeWindow(*this, false);
    if (window == nullptr) {
        return false;
    }
    DialogBackend::Init(*this);
    if (m_window != nullptr && window->layout->styles.contains("WS_VISIBLE")) {
        window->visible = true;
        Record(window, "show");
        SetActive(window);
    }
    return m_window != nullptr;
}

void Dialog::DestroyWindow()
{
    OnWindowThread(m_window, [this](bool) {
        if (m_window->modal) {
            EndDialog(ID_CANCEL);
        } else {
            DialogBackend::Destroy(*this);
        }
    });
}

void Dialog::EndDialog(int result)
{
    OnWindowThread(m_window, [this, result](bool other) { DialogBackend::EndRun(m_window, result, other); });
}

void Dialog::SetCaption(const std::string& text)
{
    OnWindowThread(m_window, [this, text](bool other) {
        m_window->caption = text;
        Record(m_window, "caption", 0, text, 0, 0, other);
    });
}

std::string Dialog::GetCaption() const
{
    return OnWindowThread(m_window, [this](bool) { return m_window->caption; });
}

void Dialog::Show(bool show)
{
    OnWindowThread(m_window, [this, show](bool other) {
        m_window->visible = show;
        Record(m_window, show ? "show" : "hide", 0, {}, 0, 0, other);
        if (show) {
            SetActive(m_window);
        } else if (IsActive(m_window)) {
            ActivateAnother(m_window);
        }
    });
}

bool Dialog::IsVisible() const
{
    return OnWindowThread(m_window, [this](bool) { return m_window->visible; });
}

Rect Dialog::GetWindowRect() const
{
    return OnWindowThread(m_window, [this](bool) { return m_window->rect; });
}

void Dialog::MoveToTop(int x, int y)
{
    OnWindowThread(m_window, [this, x, y](bool other) {
        auto& rect = m_window->rect;
        rect = {x, y, x + rect.Width(), y + rect.Height()};
        {
            std::lock_guard lock(State().mutex);
            RaiseLocked(m_window);
        }
        Record(m_window, "move", 0, {}, x, y, other);
    });
}

void Dialog::SetTimer(unsigned id, int milliseconds)
{
    OnWindowThread(m_window, [this, id, milliseconds](bool other) {
        {
            std::lock_guard lock(State().mutex);
            m_window->timers[id] = {milliseconds, State().clockMs + milliseconds};
        }
        Record(m_window, "timer.set", 0, {}, static_cast<int>(id), milliseconds, other);
    });
}

void Dialog::KillTimer(unsigned id)
{
    OnWindowThread(m_window, [this, id](bool) {
        std::lock_guard lock(State().mutex);
        m_window->timers.erase(id);
    });
}

void Dialog::SetItemText(int id, const std::string& text)
{
    OnWindowThread(m_window, [this, id, text](bool other) {
        if (auto* control = m_window->Find(id)) {
            control->text = text;
            Record(m_window, "text", id, text, 0, 0, other);
        }
    });
}

std::string Dialog::GetItemText(int id) const
{
    return OnWindowThread(m_window, [this, id](bool) {
        const auto* control = m_window->Find(id);
        return control != nullptr ? control->text : std::string();
    });
}

void Dialog::EnableItem(int id, bool enable)
{
    OnWindowThread(m_window, [this, id, enable](bool other) {
        if (auto* control = m_window->Find(id)) {
            control->enabled = enable;
            Record(m_window, enable ? "enable" : "disable", id, {}, 0, 0, other);
        }
    });
}

bool Dialog::IsItemEnabled(int id) const
{
    return OnWindowThread(m_window, [this, id](bool) {
        const auto* control = m_window->Find(id);
        return control != nullptr && control->enabled;
    });
}

void Dialog::ShowItem(int id, bool show)
{
    OnWindowThread(m_window, [this, id, show](bool other) {
        if (auto* control = m_window->Find(id)) {
            control->visible = show;
            Record(m_window, show ? "item.show" : "item.hide", id, {}, 0, 0, other);
        }
    });
}

bool Dialog::IsItemVisible(int id) const
{
    return OnWindowThread(m_window, [this, id](bool) {
        const auto* control = m_window->Find(id);
        return control != nullptr && control->visible;
    });
}

void Dialog::SetProgressRange(int id, int low, int high)
{
    OnWindowThread(m_window, [this, id, low, high](bool other) {
        if (auto* control = m_window->Find(id)) {
            control->low = low;
            control->high = high;
            Record(m_window, "progress.range", id, {}, low, high, other);
        }
    });
}

void Dialog::SetProgressPos(int id, int position)
{
    OnWindowThread(m_window, [this, id, position](bool other) {
        if (auto* control = m_window->Find(id)) {
            control->position = std::clamp(position, control->low, control->high);
            Record(m_window, "progress.pos", id, {}, control->position, 0, other);
        }
    });
}

bool Dialog::OpenAnimation(int id, int clipResourceId)
{
    return OnWindowThread(m_window, [this, id, clipResourceId](bool other) {
        const auto& clips = headless::ProgramResources().clips;
        const auto clip = clips.find(clipResourceId);
        const bool opened = m_window->Find(id) != nullptr && clip != clips.end();
        Record(m_window, "animation.open", id, opened ? clip->second : std::string(), clipResourceId, 0, other);
        return opened;
    });
}

int Dialog::ComboAddString(int id, const std::string& text)
{
    return OnWindowThread(m_window, [this, id, text](bool other) {
        auto* control = m_window->Find(id);
        if (control == nullptr) {
            return -1;
        }
        auto& items = control->items;
        auto at = items.end();
        if (control->layout->styles.contains("CBS_SORT")) {
            at = std::ranges::upper_bound(items, text, headless::LessIgnoringCase);
        }
        const int index = static_cast<int>(items.insert(at, text) - items.begin());
        Record(m_window, "combo.add", id, text, index, 0, other);
        return index;
    });
}

int Dialog::ComboFindStringExact(int id, const std::string& text) const
{
    return OnWindowThread(m_window, [this, id, text](bool) {
        const auto* control = m_window->Find(id);
        if (control == nullptr) {
            return -1;
        }
        const auto found = std::ranges::find_if(
            control->items, [&](const auto& item) { return headless::SameIgnoringCase(item, text); });
        return found == control->items.end() ? -1 : static_cast<int>(found - control->items.begin());
    });
}

int Dialog::ComboGetCount(int id) const
{
    return OnWindowThread(m_window, [this, id](bool) {
        const auto* control = m_window->Find(id);
        return control == nullptr ? 0 : static_cast<int>(control->items.size());
    });
}

void Dialog::ComboSetCurSel(int id, int index)
{
    OnWindowThread(m_window, [this, id, index](bool other) {
        if (auto* control = m_window->Find(id)) {
            control->selection = index >= 0 && index < static_cast<int>(control->items.size()) ? index : -1;
            Record(m_window, "combo.select", id, {}, control->selection, 0, other);
        }
    });
}

int Dialog::ComboGetCurSel(int id) const
{
    return OnWindowThread(m_window, [this, id](bool) {
        const auto* control = m_window->Find(id);
        return control == nullptr ? -1 : control->selection;
    });
}

std::string Dialog::ComboGetText(int id, int index) const
{
    return OnWindowThread(m_window, [this, id, index](bool) {
        const auto* control = m_window->Find(id);
        if (control == nullptr || index < 0 || index >= static_cast<int>(control->items.size())) {
            return std::string();
        }
        return control->items[static_cast<std::size_t>(index)];
    });
}

void Dialog::EnableSibling(int id, int offset, bool enable)
{
    OnWindowThread(m_window, [this, id, offset, enable](bool other) {
        auto& controls = m_window->controls;
        const auto found = std::ranges::find(controls, id, [](const DialogWindow::Control& c) { return c.layout->id; });
        const auto index = (found - controls.begin()) + offset;
        if (found != controls.end() && index >= 0 && index < static_cast<std::ptrdiff_t>(controls.size())) {
            auto& sibling = controls[static_cast<std::size_t>(index)];
            sibling.enabled = enable;
            Record(m_window, enable ? "enable" : "disable", sibling.layout->id, sibling.text, offset, 0, other);
        }
    });
}

bool Dialog::IsSiblingEnabled(int id, int offset) const
{
    return OnWindowThread(m_window, [this, id, offset](bool) {
        const auto& controls = m_window->controls;
        const auto found = std::ranges::find(controls, id, [](const DialogWindow::Control& c) { return c.layout->id; });
        const auto index = (found - controls.begin()) + offset;
        return found != controls.end() && index >= 0 && index < static_cast<std::ptrdiff_t>(controls.size()) &&
               controls[static_cast<std::size_t>(index)].enabled;
    });
}

bool Dialog::HasSystemMenu() const
{
    return OnWindowThread(m_window, [this](bool) { return m_window->layout->styles.contains("WS_SYSMENU"); });
}

void Dialog::AppendSystemMenuSeparator()
{
    OnWindowThread(m_window, [this](bool other) {
        m_window->systemMenu.emplace_back(0, std::string());
        Record(m_window, "sysmenu.separator", 0, {}, 0, 0, other);
    });
}

void Dialog::AppendSystemMenuItem(unsigned commandId, const std::string& text)
{
    OnWindowThread(m_window, [this, commandId, text](bool other) {
        m_window->systemMenu.emplace_back(commandId, text);
        Record(m_window, "sysmenu.item", 0, text, static_cast<int>(commandId), 0, other);
    });
}

void Dialog::SetIcon(int iconResourceId, bool big)
{
    OnWindowThread(m_window, [this, iconResourceId, big](bool other) {
        Record(m_window, "icon", 0, big ? "big" : "small", iconResourceId, 0, other);
    });
}

bool Dialog::IsMinimized() const
{
    return OnWindowThread(m_window, [this](bool) { return m_window->minimized; });
}

Rect Dialog::GetClientRect() const
{
    return OnWindowThread(m_window, [this](bool) {
        const auto& rect = m_window->rect;
        return Rect{0, 0, rect.Width(), rect.Height()};
    });
}

void Dialog::PaintIcon(int iconResourceId, int x, int y)
{
    OnWindowThread(m_window, [this, iconResourceId, x, y](bool other) {
        Record(m_window, "paint.icon", iconResourceId, {}, x, y, other);
    });
}

Size SystemIconSize()
{
    return {32, 32};
}

void PostCommand(DialogHandle window, int commandId)
{
    Enqueue([window, commandId] {
        if (IsLive(window)) {
            DialogBackend::Command(*window->dialog, commandId, CommandSource::Posted);
        }
    });
}

std::uint32_t CurrentThreadToken()
{
    return 0;  // one thread runs the dialogs
}

void HandleMessagesUntil(const std::function<bool()>& done)
{
    // The quit message stays posted meanwhile.
    DialogBackend::RunLoop(done, nullptr);
}

void PrepareThreadForMessages() {}

void WakeMessageLoop(std::uint32_t /*thread*/)
{
    // Under the lock, so that the loop cannot miss the wake between looking
    // at its condition and waiting.
    {
        std::lock_guard lock(State().mutex);
    }
    State().wake.notify_all();
}

namespace {

// While a box is up, its owner takes no input (as MessageBox has it), and
// neither does any other shown window of the program. Returns the windows it
// disabled; fills in what the record tells of the windows.
std::vector<DialogWindow*> DisableForBox(DialogWindow* owner, MessageBoxRecord& record)
{
    const auto live = LiveWindows();
    if (live.empty()) {
        return {};
    }
    // All dialogs run on the user-interface thread.
    return OnWindowThread(live.front(), [&](bool other) {
        std::vector<DialogWindow*> disabled;
        bool anyShown = false;
        for (auto* window : live) {
            if (!IsLive(window)) {
                continue;
            }
            anyShown = anyShown || window->visible;
            if ((window == owner || window->visible) && window->enabled) {
                window->enabled = false;
                Record(window, "disable", 0, {}, 0, 0, other);
                disabled.push_back(window);
            }
        }
        for (auto* window : live) {
            if (IsLive(window) && window->visible && window->enabled) {
                record.windowsTakingInput.push_back(window->layout->id);
            }
        }
        if (owner == nullptr && anyShown) {
            ReportFault("message box \"" + record.text + "\" has no owner while a window of the program shows");
        }
        return disabled;
    });
}

}  // namespace

int ShowMessageBox(const std::string& text, MessageButtons buttons, MessageIcon icon)
{
    MessageBoxRecord record;
    record.text = text;
    record.caption = ApplicationName();
    record.buttons = buttons;
    record.icon = icon == MessageIcon::Default ? MessageIcon::Warning : icon;
    record.answer = buttons == MessageButtons::YesNo ? ID_YES : ID_OK;
    std::function<int(const MessageBoxRecord&)> handler;
    {
        std::lock_guard lock(State().mutex);
        record.fromUiThread = std::this_thread::get_id() == State().uiThread;
        handler = State().script.onMessageBox;
    }
    auto* owner = MessageBoxOwner();
    record.ownerId = owner != nullptr ? owner->layout->id : 0;
    const auto disabled = DisableForBox(owner, record);
    if (handler) {
        record.answer = handler(record);
    }
    for (auto* window : disabled) {
        if (IsLive(window)) {
            SetEnabled(window, true);
        }
    }
    std::lock_guard lock(State().mutex);
    State().boxes.push_back(record);
    return record.answer;
}

std::string LoadResourceString(int id)
{
    {
        std::lock_guard lock(State().mutex);
        if (const auto found = State().replacedStrings.find(id); found != State().replacedStrings.end()) {
            return found->second;
        }
    }
    const auto& strings = headless::ProgramResources().strings;
    const auto found = strings.find(id);
    return found == strings.end() ? std::string() : found->second;
}

Dialog* MainWindow()
{
    std::lock_guard lock(State().mutex);
    return State().mainWindow;
}

void SetMainWindow(Dialog* dialog)
{
    std::lock_guard lock(State().mutex);
    State().mainWindow = dialog;
}

Rect DesktopWorkArea()
{
    return {0, 0, 1024, 768};
}

WaitCursor::WaitCursor()
{
    Record({0, "cursor.wait", 0, {}, 0, 0, false}, nullptr);
}

WaitCursor::~WaitCursor()
{
    Record({0, "cursor.restore", 0, {}, 0, 0, false}, nullptr);
}

}  // namespace platform

namespace platform::headless {

void ResetUi()
{
    std::lock_guard lock(State().mutex);
    State().events.clear();
    State().boxes.clear();
    State().script = {};
    State().mainWindow = nullptr;
    State().uiThread = std::this_thread::get_id();
    State().tasks.clear();
    State().replacedStrings.clear();
    State().unavailableTemplates.clear();
    State().clockMs = 0;
    State().faultHandler = nullptr;
    State().stallMs = kStallMilliseconds;
    State().quitPosted = false;
    State().zOrder.clear();
    State().active = nullptr;
    State().otherProgramActivations = 0;
}

void PostQuitMessage()
{
    {
        std::lock_guard lock(State().mutex);
        State().quitPosted = true;
    }
    State().wake.notify_all();
}

void PlaceOtherProgramWindow()
{
    {
        std::lock_guard lock(State().mutex);
        auto& other = State().otherProgram;
        other.visible = true;
        other.enabled = true;
        RaiseLocked(&other);
        State().active = &other;
        State().otherProgramActivations = 0;
    }
}

int OtherProgramActivations()
{
    std::lock_guard lock(State().mutex);
    return State().otherProgramActivations;
}

void SetStallMilliseconds(int milliseconds)
{
    State().stallMs = milliseconds;
}

void SetUiFaultHandler(std::function<void(const std::string&)> handler)
{
    std::lock_guard lock(State().mutex);
    State().faultHandler = std::move(handler);
}

void SetDialogUnavailable(int templateId)
{
    std::lock_guard lock(State().mutex);
    State().unavailableTemplates.insert(templateId);
}

bool IsWindowEnabled(const Dialog& dialog)
{
    auto* window = dialog.Handle();
    return window != nullptr && OnWindowThread(window, [window](bool) { return window->enabled; });
}

void SetResourceString(int id, std::string text)
{
    std::lock_guard lock(State().mutex);
    State().replacedStrings[id] = std::move(text);
}

void SetUiScript(UiScript script)
{
    std::lock_guard lock(State().mutex);
    State().script = std::move(script);
}

std::vector<UiEvent> UiEvents()
{
    std::lock_guard lock(State().mutex);
    return State().events;
}

std::vector<MessageBoxRecord> MessageBoxes()
{
    std::lock_guard lock(State().mutex);
    return State().boxes;
}

namespace {

// A control the user can reach: it and its window enabled and shown.
bool Usable(const DialogWindow& window, const DialogWindow::Control* control)
{
    return window.enabled && window.visible && control != nullptr && control->enabled && control->visible;
}

}  // namespace

bool ClickButton(Dialog& dialog, int controlId)
{
    auto* window = dialog.Handle();
    if (window == nullptr) {
        return false;
    }
    if (!Usable(*window, window->Find(controlId))) {
        Record(window, "click.refused", controlId);
        return false;
    }
    DialogBackend::Command(dialog, controlId, CommandSource::User);
    return true;
}

void PressEnter(Dialog& dialog)
{
    auto* window = dialog.Handle();
    if (window == nullptr || !window->enabled) {
        return;
    }
    // As the dialog manager: the default push button's command while that
    // button is enabled, nothing while it is disabled, ID_OK without one.
    const auto button = std::ranges::find_if(window->controls, [](const DialogWindow::Control& control) {
        return control.layout->styles.contains("BS_DEFPUSHBUTTON");
    });
    if (button == window->controls.end()) {
        DialogBackend::Command(dialog, ID_OK, CommandSource::User);
    } else if (button->enabled) {
        DialogBackend::Command(dialog, button->layout->id, CommandSource::User);
    } else {
        Record(window, "click.refused", button->layout->id);
    }
}

void PressEscape(Dialog& dialog)
{
    if (dialog.Handle() != nullptr && dialog.Handle()->enabled) {
        DialogBackend::Command(dialog, ID_CANCEL, CommandSource::User);
    }
}

bool ChooseSystemMenuItem(Dialog& dialog, unsigned commandId)
{
    auto* window = dialog.Handle();
    if (window == nullptr) {
        return false;
    }
    Record(window, "syscommand", 0, {}, static_cast<int>(commandId));
    if (DialogBackend::SysCommand(dialog, commandId)) {
        return true;
    }
    // The default handling: Close becomes Cancel, unless the dialog's Cancel
    // button is disabled.
    if ((commandId & 0xFFF0) == kSystemCommandClose) {
        const auto* cancel = window->Find(ID_CANCEL);
        if (cancel == nullptr || cancel->enabled) {
            DialogBackend::Command(dialog, ID_CANCEL, CommandSource::User);
        }
    }
    return false;
}

std::vector<std::pair<unsigned, std::string>> SystemMenuItems(const Dialog& dialog)
{
    const auto* window = dialog.Handle();
    return window != nullptr ? window->systemMenu : std::vector<std::pair<unsigned, std::string>>{};
}

void SetMinimized(Dialog& dialog, bool minimized)
{
    if (auto* window = dialog.Handle()) {
        window->minimized = minimized;
    }
}

bool Paint(Dialog& dialog)
{
    return dialog.Handle() != nullptr && DialogBackend::Paint(dialog);
}

int QueryDragIcon(Dialog& dialog)
{
    return dialog.Handle() != nullptr ? DialogBackend::DragIcon(dialog) : 0;
}

bool QueryEndSession(Dialog& dialog)
{
    return OnWindowThread(dialog.Handle(), [](bool) { return SessionMayEnd(); });
}

}  // namespace platform::headless
