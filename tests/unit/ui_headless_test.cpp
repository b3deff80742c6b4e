// The headless user interface: that it reads the program's .rc as the
// resource compiler does, carries out other threads' window operations on
// the dialog's own thread, gives boxes and modal dialogs their owners and
// modality as Windows does, handles keys and the system menu as the dialog
// manager does, runs timers without waiting and fails a test that stalls.

#include <gtest/gtest.h>

#include <thread>

#include "platform/headless/resource_script.h"
#include "platform/headless/ui_driver.h"
#include "platform/thread.h"
#include "res/resource.h"

namespace {

using platform::headless::ProgramResources;
using platform::headless::UiEvent;

// The program's own script reads without an error, every control in tab
// order with what the program relies on: ids from resource.h (IDC_STATIC by
// its #ifndef), classes, styles by name, escapes in texts and strings. A
// name the script never defines is an error.
TEST(ResourceScriptTest, ReadsWhatTheResourceCompilerReads)
{
    const auto& resources = ProgramResources();
    EXPECT_TRUE(resources.errors.empty()) << resources.errors.front();
    const auto& progress = resources.dialogs.at(IDD_PROGRESS);
    EXPECT_EQ(std::tie(progress.cx, progress.cy, progress.fontSize, progress.caption), std::tuple(183, 125, 9, ""));
    ASSERT_EQ(progress.controls.size(), 5u);
    const auto& [clip, percent, cancel] = std::tie(progress.controls[0], progress.controls[2], progress.controls[4]);
    EXPECT_EQ(std::tie(clip.windowClass, clip.id, percent.text, cancel.id),
              std::tuple("SysAnimate32", IDC_TRANSFER_ANIMATION, "%s %%", platform::ID_CANCEL));
    EXPECT_TRUE(clip.styles.contains("ACS_AUTOPLAY") && clip.InitiallyEnabled());
    EXPECT_FALSE(cancel.InitiallyEnabled());

    const auto& main = resources.dialogs.at(IDD_VR38UPDATE_DIALOG);
    EXPECT_EQ(main.caption, "VR-380MX Firmware Update Tool");
    EXPECT_TRUE(main.styles.contains("WS_SYSMENU") && main.exStyles.contains("WS_EX_APPWINDOW"));
    ASSERT_EQ(main.controls.size(), 5u);
    const auto& [update, label, combo] = std::tie(main.controls[0], main.controls[2], main.controls[3]);
    EXPECT_EQ(std::tie(update.id, label.id, combo.id, combo.cy), std::tuple(IDC_UPDATE, -1, IDC_PRINTER_COMBO, 90));
    EXPECT_TRUE(update.styles.contains("BS_DEFPUSHBUTTON"));
    EXPECT_EQ(label.text, "Click the [ Update ] button to begin the process.\nIt will take a few minutes.");
    EXPECT_EQ(combo.windowClass, "ComboBox");
    EXPECT_TRUE(combo.styles.contains("CBS_SORT") && combo.InitiallyVisible());
    EXPECT_EQ(resources.strings.at(IDS_TRANSFER_FAILED),
              "Transfer failed.\nPerform the operation again from the beginning.");

    // Inside a block that #ifdef keeps (IDOK is one of the names windows.h gives).
    const auto broken = platform::headless::ParseResourceScript(
        "#ifdef IDOK\n9 DIALOGEX 0, 0, 1, 1\nBEGIN\n    PUSHBUTTON \"x\", UNKNOWN_ID, 1, 2, 3, 4\nEND\n#endif\n", ".");
    EXPECT_EQ(std::tuple(broken.errors.size(), broken.dialogs.contains(9)), std::tuple(1u, true));
}

class HeadlessUiTest : public ::testing::Test {
protected:
    void SetUp() override { platform::headless::ResetUi(); }
    void TearDown() override { platform::headless::ResetUi(); }
};

// A dialog run modally by its owner: it notes whether the owner takes input;
// its worker changes a label, reads it back, shows a box and ends the dialog.
class OwnedDialog : public platform::Dialog {
public:
    explicit OwnedDialog(platform::Dialog* owner) : platform::Dialog(IDD_OPERATING, owner) {}
    bool ownerEnabledMeanwhile = true;
    std::thread::id dialogThread;
    std::string readBack;

protected:
    bool OnInitDialog() override
    {
        ownerEnabledMeanwhile = platform::headless::IsWindowEnabled(*Parent());
        dialogThread = std::this_thread::get_id();
        const auto window = Handle();
        m_worker = platform::WorkerThread::Start(
            [this, window] {
                SetItemText(IDC_OPERATING_TEXT, "from the worker");
                readBack = GetItemText(IDC_OPERATING_TEXT);
                platform::ShowMessageBox("from the worker");
                platform::PostCommand(window, 4242);
                return 0u;
            },
            window);
        return true;
    }
    void OnCommand(int id, platform::CommandSource source) override
    {
        if (id == 4242 && source == platform::CommandSource::Posted) {
            EndDialog(7);
        }
    }

private:
    std::unique_ptr<platform::WorkerThread> m_worker;
};

TEST_F(HeadlessUiTest, BoxesAndModalDialogs_DisableTheirOwnerAndTheOtherShownWindows)
{
    platform::Dialog main(IDD_VR38UPDATE_DIALOG);
    platform::Dialog modeless(IDD_PROGRESS);
    ASSERT_TRUE(main.Create() && modeless.Create());
    main.Show(true);
    modeless.Show(true);
    platform::SetMainWindow(&main);

    bool clickedUnderBox = true;
    platform::headless::UiScript script;
    script.onMessageBox = [&](const platform::headless::MessageBoxRecord& box) {
        if (box.fromUiThread && box.text == "over the main window") {
            clickedUnderBox = platform::headless::ClickButton(main, IDC_UPDATE);
        }
        return platform::ID_OK;
    };
    std::vector<std::thread::id> textOn;
    script.onEvent = [&](platform::Dialog&, const UiEvent& event) {
        if (event.op == "text" && event.fromOtherThread) {
            textOn.push_back(std::this_thread::get_id());
        }
    };
    platform::headless::SetUiScript(script);

    platform::ShowMessageBox("over the main window");
    OwnedDialog dialog(&main);
    EXPECT_EQ(dialog.DoModal(), 7);
    // The worker's window operations ran on the dialog's thread while it waited.
    EXPECT_EQ(dialog.readBack, "from the worker");
    EXPECT_EQ(textOn, (std::vector<std::thread::id>{dialog.dialogThread}));
    // Disabled while the dialog and the box were up, enabled again after.
    EXPECT_EQ(std::tuple(dialog.ownerEnabledMeanwhile, clickedUnderBox, platform::headless::IsWindowEnabled(main),
                         platform::headless::IsWindowEnabled(modeless)),
              std::tuple(false, false, true, true));

    // The main window's own box; the worker's belongs to the window named at
    // its start.
    std::vector<int> owners;
    for (const auto& box : platform::headless::MessageBoxes()) {
        owners.push_back(box.ownerId);
        EXPECT_TRUE(box.windowsTakingInput.empty()) << box.text;
    }
    EXPECT_EQ(owners, (std::vector<int>{IDD_VR38UPDATE_DIALOG, IDD_OPERATING}));
}

TEST_F(HeadlessUiTest, OwnerlessBoxOverAShownWindow_IsAFault_ButNotBeforeAnyWindowShows)
{
    std::vector<std::string> faults;
    platform::headless::SetUiFaultHandler([&](const std::string& fault) { faults.push_back(fault); });
    platform::ShowMessageBox("before any window");
    platform::Dialog shown(IDD_OPERATING);
    ASSERT_TRUE(shown.Create());
    platform::ShowMessageBox("beside a hidden window");
    shown.Show(true);
    platform::ShowMessageBox("beside a shown window");
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_NE(faults[0].find("beside a shown window"), std::string::npos);
}

// Counts its timer's ticks and ends at the second.
class TickingDialog : public platform::Dialog {
public:
    TickingDialog() : platform::Dialog(IDD_OPERATING) {}
    int ticks = 0;

protected:
    bool OnInitDialog() override
    {
        SetTimer(7, 1000);
        return true;
    }
    void OnTimer(unsigned id) override
    {
        if (id == 7 && ++ticks == 2) {
            KillTimer(id);
            EndDialog(ticks);
        }
    }
};

TEST_F(HeadlessUiTest, Timers_TickOnAVirtualClockWhenNothingElseWaits)
{
    TickingDialog dialog;
    EXPECT_EQ(dialog.DoModal(), 2);
    std::vector<int> at;
    for (const auto& event : platform::headless::UiEvents()) {
        if (event.op == "timer") {
            at.push_back(event.value2);
        }
    }
    EXPECT_EQ(at, (std::vector<int>{1000, 2000}));
}

class SelfOwnedDialog : public platform::Dialog {
public:
    explicit SelfOwnedDialog(bool& deleted) : platform::Dialog(IDD_OPERATING), m_deleted(deleted) {}
    ~SelfOwnedDialog() override { m_deleted = true; }

private:
    bool& m_deleted;
};

TEST_F(HeadlessUiTest, SelfOwnedDialog_IsDeletedWithItsWindow_UnknownTemplateFails)
{
    bool deleted = false;
    auto* dialog = platform::Dialog::CreateSelfOwned(std::make_unique<SelfOwnedDialog>(deleted));
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->IsVisible());  // the template has no WS_VISIBLE
    dialog->DestroyWindow();
    EXPECT_TRUE(deleted);

    platform::Dialog unknown(4711);
    EXPECT_EQ(unknown.DoModal(), -1);
    EXPECT_FALSE(unknown.Create());
}

// Notes every command; a posted 9 ends it.
class CommandLog : public platform::Dialog {
public:
    explicit CommandLog(int templateId) : platform::Dialog(templateId) {}
    std::vector<int> commands;

protected:
    void OnCommand(int id, platform::CommandSource source) override
    {
        commands.push_back(id);
        if (id == 9 && source == platform::CommandSource::Posted) {
            EndDialog(id);
        }
    }
};

TEST_F(HeadlessUiTest, EnterAndSystemClose_GiveTheCommandsTheDialogManagerGives)
{
    using platform::headless::ChooseSystemMenuItem;
    using platform::headless::kSystemCommandClose;
    using platform::headless::PressEnter;
    struct Row {
        const char* name;
        int templateId;
        int disabled;  // a control disabled first, or 0
        std::function<void(platform::Dialog&)> act;
        std::vector<int> commands;
    };
    const auto enter = [](platform::Dialog& d) { PressEnter(d); };
    const auto close = [](platform::Dialog& d) { ChooseSystemMenuItem(d, kSystemCommandClose | 2); };
    const Row rows[] = {
        {"default button", IDD_VR38UPDATE_DIALOG, 0, enter, {IDC_UPDATE}},
        {"default button disabled", IDD_WARNING, platform::ID_OK, enter, {}},
        {"another button disabled", IDD_WARNING, platform::ID_CANCEL, enter, {platform::ID_OK}},
        {"no default button", IDD_OPERATING, 0, enter, {platform::ID_OK}},
        {"close without a Cancel button", IDD_VR38UPDATE_DIALOG, 0, close, {platform::ID_CANCEL}},
        {"close", IDD_WARNING, 0, close, {platform::ID_CANCEL}},
        {"close with Cancel disabled", IDD_WARNING, platform::ID_CANCEL, close, {}},
        {"menu item nobody handles", IDD_WARNING, 0, [](platform::Dialog& d) { ChooseSystemMenuItem(d, 0x10); }, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CommandLog dialog(row.templateId);
        ASSERT_TRUE(dialog.Create());
        dialog.Show(true);
        if (row.disabled != 0) {
            dialog.EnableItem(row.disabled, false);
        }
        row.act(dialog);
        EXPECT_EQ(dialog.commands, row.commands);
    }
}

TEST_F(HeadlessUiTest, CommandPostedToAWindowThatWent_IsDropped_AndALoopThatStallsIsAFault)
{
    CommandLog gone(IDD_OPERATING);
    ASSERT_TRUE(gone.Create());
    CommandLog modal(IDD_OPERATING);
    platform::headless::UiScript script;
    script.onShown = [&](platform::Dialog& shown) {
        platform::PostCommand(gone.Handle(), 5);
        gone.DestroyWindow();
        platform::PostCommand(shown.Handle(), 9);
    };
    platform::headless::SetUiScript(script);
    EXPECT_EQ(modal.DoModal(), 9);
    EXPECT_TRUE(gone.commands.empty());

    std::vector<std::string> faults;
    platform::headless::SetUiFaultHandler([&](const std::string& fault) { faults.push_back(fault); });
    platform::headless::SetUiScript({});
    platform::headless::SetStallMilliseconds(50);
    CommandLog waiting(IDD_OPERATING);  // nothing will ever end it
    EXPECT_EQ(waiting.DoModal(), -1);
    EXPECT_EQ(faults.size(), 1u);
}

}  // namespace
