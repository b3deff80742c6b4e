#pragma once
// Dialogs built from the .rc templates, modal or modeless, and their controls,
// reached by control id. Dialog classes of the program derive from Dialog and
// override the virtual handlers; they never hold a window handle of their own.

#include <memory>
#include <string>
#include <utility>

namespace platform {

// Command ids of the standard buttons and message-box answers.
inline constexpr int ID_OK = 1;
inline constexpr int ID_CANCEL = 2;
inline constexpr int ID_YES = 6;
inline constexpr int ID_NO = 7;

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// Where a command came from: the user (a button, or Enter and Escape through
// the dialog manager) or PostCommand from another thread.
enum class CommandSource { User, Posted };

// A dialog's window as another thread may name it, to post a command to it.
struct DialogWindow;
using DialogHandle = DialogWindow*;

class Dialog {
public:
    explicit Dialog(int templateId, Dialog* parent = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int TemplateId() const { return m_templateId; }
    Dialog* Parent() const { return m_parent; }

    // Runs the dialog modally: its owner (the parent) takes no input until it
    // ends. The dialog shows once, right after OnInitDialog, before any other
    // thread's operation on it is carried out, so that a dialog hidden from
    // then on stays hidden. Returns the result given to EndDialog, -1 when the
    // window cannot be made or a quit message ended the run (which is posted
    // again for the loop outside).
    virtual int DoModal();

    // Makes the window of a modeless dialog. False when it cannot be made.
    bool Create(Dialog* parent = nullptr);

    // A modeless dialog that lives as long as its window: the layer owns it
    // and deletes it after PostNcDestroy. Null when the window cannot be made.
    template <class T>
    static T* CreateSelfOwned(std::unique_ptr<T> dialog, Dialog* parent = nullptr)
    {
        T* raw = dialog.get();
        return AdoptSelfOwned(std::move(dialog), parent) ? raw : nullptr;
    }

    // Destroying the active window activates another: its owner when that
    // takes input, else the next window down the z order that does, which
    // may be another program's.
    void DestroyWindow();
    // Ends a modal run as the system's dialog box ends: the owner takes input
    // again at once, the dialog hides without activating another window, and
    // a dialog that was the active window hands the activation to its owner,
    // even one not shown yet; the window goes when the run returns.
    void EndDialog(int result);
    bool HasWindow() const { return m_window != nullptr; }
    DialogHandle Handle() const { return m_window; }

    // The window itself.
    void SetCaption(const std::string& text);
    std::string GetCaption() const;
    // Showing activates the window; hiding the active window activates
    // another, as destroying it does.
    void Show(bool show);
    bool IsVisible() const;
    Rect GetWindowRect() const;
    // Moves the window, keeping its size, to the top of the window order,
    // without activating it.
    void MoveToTop(int x, int y);
    // Moves it so that its centre is the centre of the outer rectangle
    // (divisions truncating toward zero).
    void CentreOn(const Rect& outer);
    // Centres it on its parent's window, or on the screen's work area when
    // there is none.
    void CentreOnOwner();

    // A timer of the window: OnTimer(id) every so many milliseconds, on the
    // window's thread, while the thread waits for messages, until killed.
    void SetTimer(unsigned id, int milliseconds);
    void KillTimer(unsigned id);

    // Controls by id.
    void SetItemText(int id, const std::string& text);
    std::string GetItemText(int id) const;
    void EnableItem(int id, bool enable);
    bool IsItemEnabled(int id) const;
    void ShowItem(int id, bool show);
    bool IsItemVisible(int id) const;
    void SetProgressRange(int id, int low, int high);
    void SetProgressPos(int id, int position);
    // Opens an "AVI" resource of the program in an animation control.
    bool OpenAnimation(int id, int clipResourceId);
    // Combo boxes: index of the new entry; exact search without regard to
    // letter case (-1 when none); -1 as selection means none.
    int ComboAddString(int id, const std::string& text);
    int ComboFindStringExact(int id, const std::string& text) const;
    int ComboGetCount(int id) const;
    void ComboSetCurSel(int id, int index);
    int ComboGetCurSel(int id) const;
    std::string ComboGetText(int id, int index) const;

    // The window just before (offset -1) or after (+1) a control in tab
    // order, for controls the program does not reach by id.
    void EnableSibling(int id, int offset, bool enable);
    bool IsSiblingEnabled(int id, int offset) const;

    // The window's system menu, when it has one.
    bool HasSystemMenu() const;
    void AppendSystemMenuSeparator();
    void AppendSystemMenuItem(unsigned commandId, const std::string& text);

    // Icons from the program's icon resources.
    void SetIcon(int iconResourceId, bool big);
    bool IsMinimized() const;
    Rect GetClientRect() const;
    // Paints an icon at x, y of the client area over the icon background;
    // for OnPaint of a minimised window.
    void PaintIcon(int iconResourceId, int x, int y);

protected:
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(ID_OK); }
    virtual void OnCancel() { EndDialog(ID_CANCEL); }
    // Routes ID_OK to OnOK and ID_CANCEL to OnCancel, whatever the source.
    virtual void OnCommand(int id, CommandSource source);
    virtual void OnDestroy() {}
    virtual void PostNcDestroy() {}
    // A system-menu command; true when handled, false for the default.
    virtual bool OnSysCommand(unsigned /*commandId*/) { return false; }
    // True when the handler painted the window itself.
    virtual bool OnPaint() { return false; }
    // The icon resource to drag a minimised window by; 0 for the default.
    virtual int OnQueryDragIcon() { return 0; }
    virtual void OnTimer(unsigned /*id*/) {}

private:
    friend class DialogBackend;
    static bool AdoptSelfOwned(std::unique_ptr<Dialog> dialog, Dialog* parent);

    int m_templateId;
    Dialog* m_parent;
    DialogWindow* m_window = nullptr;
    bool m_modal = false;        // DoModal runs
    bool m_endedInInit = false;  // EndDialog came in OnInitDialog
    int m_initResult = 0;
};

// The application's main window, if one was named.
Dialog* MainWindow();
void SetMainWindow(Dialog* dialog);

// The screen area a window may take when there is no main window to go by.
Rect DesktopWorkArea();

// Posts a command to a dialog's window from any thread; it arrives on the
// dialog's own thread as OnCommand(id, CommandSource::Posted). Ignored when
// the window is gone.
void PostCommand(DialogHandle window, int commandId);

// Views of one control of a dialog, for dialogs that keep their controls as
// members.
class ProgressBar {
public:
    ProgressBar(Dialog& dialog, int id) : m_dialog(dialog), m_id(id) {}
    void SetRange(int low, int high) { m_dialog.SetProgressRange(m_id, low, high); }
    void SetPos(int position) { m_dialog.SetProgressPos(m_id, position); }

private:
    Dialog& m_dialog;
    int m_id;
};

class Animation {
public:
    Animation(Dialog& dialog, int id) : m_dialog(dialog), m_id(id) {}
    bool Open(int clipResourceId) { return m_dialog.OpenAnimation(m_id, clipResourceId); }

private:
    Dialog& m_dialog;
    int m_id;
};

}  // namespace platform
