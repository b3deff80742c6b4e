// The headless user interface: that it reads the program's .rc as the
// resource compiler does, carries out other threads' window operations on
// the dialog's own thread, gives boxes and modal dialogs their owners and
// modality as Windows does, handles keys and the system menu as the dialog
// manager does, runs timers without waiting and fails a test that stalls.

#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>
#include <thread>

#include "platform/headless/resource_script.h"
#include "platform/headless/ui_driver.h"
#include "platform/thread.h"
#include "res/resource.h"

namespace {

using platform::headless::UiEvent;

// The program's own script reads without an error, every control in tab
// order with what the program relies on: ids from resource.h (IDC_STATIC by
// its #ifndef), classes, styles by name, escapes in texts and strings. A
// name the script never defines is an error.
TEST(ResourceScriptTest, ReadsWhatTheResourceCompilerReads)
{
    const auto& resources = platform::headless::ProgramResources();
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

    // Blocks that #ifdef keeps (IDOK is one of the names windows.h gives) or
    // #else drops, and a block of a statement the reader does not know,
    // skipped whole; a hex id, NOT, "//" inside a text. Errors: a name never
    // defined, a number with a letter, and a character the resource compiler
    // does not know (twice: the line, and no control from it).
    const auto broken = platform::headless::ParseResourceScript(
        "#ifdef IDOK\n9 DIALOGEX 0, 0, 1, 1\nBEGIN\nPUSHBUTTON \"x\", UNKNOWN_ID, 1, 2, 3, 4\n"
        "PUSHBUTTON \"y\", 5, 1, 2, 3, 4 @\nEND\n#else\n8 DIALOGEX 0, 0, 1, 1\n#endif\n9z DIALOGEX 0, 0, 1, 1\n"
        "7 UNKNOWN\nBEGIN\n6 DIALOG 0, 0, 1, 1\nEND\n0X10 DIALOGEX 0, 0, 1, 1\nCAPTION \"a//b\"\nBEGIN\n"
        "CONTROL \"\", 4, \"Static\", NOT WS_VISIBLE, 1, 2, 3, 4\nEND\n",
        ".");
    const auto& hex = broken.dialogs.at(16);
    EXPECT_EQ(std::tuple(broken.errors.size(), broken.dialogs.size(), broken.dialogs.at(9).controls.size(), hex.caption,
                         hex.controls.at(0).InitiallyVisible()),
              std::tuple(4u, 2u, 0u, "a//b", false));
}

struct HeadlessUiTest : ::testing::Test {
    void SetUp() override { platform::headless::ResetUi(); }
    void TearDown() override { platform::headless::ResetUi(); }
};

// A field of the recorded events of one kind, in order.
template <class T = int>
std::vector<T> Of(const std::string& op, T UiEvent::*field = &UiEvent::dialogId)
{
    const auto events = platform::headless::UiEvents();
    auto values =
        events | std::views::filter([&](const UiEvent& e) { return e.op == op; }) | std::views::transform(field);
    return {values.begin(), values.end()};
}

// Counts its timer's ticks and ends at the second.
class TickingDialog : public platform::Dialog {
public:
    explicit TickingDialog(platform::Dialog* owner) : platform::Dialog(IDD_OPERATING, owner) {}
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

// A dialog run modally by its owner: it notes whether the owner takes input;
// its worker changes a label, reads it back, shows a box and ends the dialog.
class OwnedDialog : public platform::Dialog {
public:
    explicit OwnedDialog(platform::Dialog* owner) : platform::Dialog(IDD_OPERATING, owner) {}
    bool ownerEnabledMeanwhile = true;
    std::string readBack;

protected:
    bool OnInitDialog() override
    {
        ownerEnabledMeanwhile = platform::headless::IsWindowEnabled(*Parent());
        const auto window = Handle();
        m_worker = platform::WorkerThread::Start(
            [this, window] {
                ShowItem(IDC_OPERATING_TEXT, false);
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

TEST_F(HeadlessUiTest, BoxesAndModalDialogs_DisableTheirOwnerAndTheOtherShownWindows_AndPassTheActivation)
{
    platform::headless::PlaceOtherProgramWindow();
    platform::Dialog main(IDD_VR38UPDATE_DIALOG);
    platform::Dialog modeless(IDD_PROGRESS);
    ASSERT_TRUE(main.Create() && modeless.Create(&main));
    main.Show(true);
    modeless.Show(true);
    platform::SetMainWindow(&main);

    bool tookInputUnderBox = true;
    platform::headless::SetUiScript({.onMessageBox = [&](const platform::headless::MessageBoxRecord& box) {
        if (box.fromUiThread && box.text == "over the main window") {
            // A modal run leaves its owner disabled when it was so before.
            tookInputUnderBox = platform::headless::ClickButton(main, IDC_UPDATE) ||
                                TickingDialog(&main).DoModal() != 2 || platform::headless::IsWindowEnabled(main);
        }
        return platform::ID_OK;
    }});

    platform::ShowMessageBox("over the main window");
    OwnedDialog dialog(&main);
    EXPECT_EQ(dialog.DoModal(), 7);
    // The worker's window operations ran through the dialog's loop while it
    // waited; the timers of the run in between ticked on the virtual clock.
    EXPECT_EQ(dialog.readBack, "from the worker");
    EXPECT_EQ(Of("text", &UiEvent::fromOtherThread), std::vector<bool>{true});
    EXPECT_EQ(Of("timer", &UiEvent::value2), (std::vector<int>{1000, 2000}));
    // Disabled while the dialog and the box were up, enabled again after.
    EXPECT_EQ(std::tuple(dialog.ownerEnabledMeanwhile, tookInputUnderBox, platform::headless::IsWindowEnabled(main),
                         platform::headless::IsWindowEnabled(modeless)),
              std::tuple(false, false, true, true));
    EXPECT_EQ(Of("enable", &UiEvent::value2), std::vector<int>(5, 0));  // five times a window as a whole
    EXPECT_EQ(Of("item.hide", &UiEvent::value), std::vector<int>{0});

    // The box over the main window belongs to its last active popup; the
    // worker's to the window named at its start.
    std::vector<int> owners;
    for (const auto& box : platform::headless::MessageBoxes()) {
        owners.push_back(box.ownerId);
        EXPECT_TRUE(box.windowsTakingInput.empty()) << box.text;
    }
    EXPECT_EQ(owners, (std::vector<int>{IDD_PROGRESS, IDD_OPERATING}));

    // An ended modal dialog hands the activation to its owner; owned windows
    // stay above their owner, so the main window hiding activates the window
    // below it, another program's (0).
    main.Show(false);
    EXPECT_EQ(Of("activate"), (std::vector<int>{IDD_VR38UPDATE_DIALOG, IDD_PROGRESS, IDD_OPERATING,
                                                IDD_VR38UPDATE_DIALOG, IDD_OPERATING, IDD_VR38UPDATE_DIALOG, 0}));
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
    EXPECT_TRUE(faults.size() == 1 && faults[0].find("beside a shown window") != std::string::npos);
    platform::headless::SetUiFaultHandler({});  // by default the fault ends the run
    EXPECT_DEATH(platform::ShowMessageBox("again"), "\"again\" has no owner");
}

// Notes every command; a posted 9 ends it.
class CommandLog : public platform::Dialog {
public:
    explicit CommandLog(int templateId) : platform::Dialog(templateId) {}
    std::vector<int> commands;
    std::shared_ptr<int> alive = std::make_shared<int>();
    bool OnSysCommand(unsigned id) override { return id == 0x20; }

protected:
    void OnCommand(int id, platform::CommandSource source) override
    {
        commands.push_back(id);
        if (id == 9 && source == platform::CommandSource::Posted) {
            EndDialog(id);
        }
    }
};

TEST_F(HeadlessUiTest, SelfOwnedDialog_IsDeletedWithItsWindow_UnknownTemplateFails)
{
    auto* dialog = platform::Dialog::CreateSelfOwned(std::make_unique<CommandLog>(IDD_OPERATING));
    ASSERT_NE(dialog, nullptr);
    const std::weak_ptr<int> alive = dialog->alive;
    EXPECT_FALSE(dialog->IsVisible());  // the template has no WS_VISIBLE
    EXPECT_EQ(dialog->GetItemText(IDC_OPERATING_TEXT), "The unit is operating...");
    dialog->DestroyWindow();
    EXPECT_TRUE(alive.expired());

    platform::Dialog unknown(4711);  // no window: it measures nothing and takes no click
    EXPECT_EQ(std::tuple(unknown.DoModal(), unknown.Create(), platform::headless::ClickButton(unknown, platform::ID_OK),
                         unknown.GetWindowRect().Width(), unknown.GetWindowRect().Height()),
              std::tuple(-1, false, false, 0, 0));
}

TEST_F(HeadlessUiTest, EnterAndSystemClose_GiveTheCommandsTheDialogManagerGives)
{
    using platform::headless::ChooseSystemMenuItem;
    using platform::headless::PressEnter;
    struct Row {
        const char* name;
        int templateId;
        int disabled;  // a control disabled first, or 0
        std::function<void(platform::Dialog&)> act;
        std::vector<int> commands;
    };
    const auto enter = [](platform::Dialog& d) { PressEnter(d); };
    // SC_CLOSE (0xF060) with low bits the system uses itself.
    const auto close = [](platform::Dialog& d) { ChooseSystemMenuItem(d, 0xF063); };
    // An item the dialog handles (else Close, giving Cancel), then one nobody handles.
    const auto menu = [](platform::Dialog& d) {
        ChooseSystemMenuItem(d, ChooseSystemMenuItem(d, 0x20) ? 0x10 : 0xF060);
    };
    const Row rows[] = {
        {"default button", IDD_VR38UPDATE_DIALOG, 0, enter, {IDC_UPDATE}},
        {"default button disabled", IDD_WARNING, platform::ID_OK, enter, {}},
        {"another button disabled", IDD_WARNING, platform::ID_CANCEL, enter, {platform::ID_OK}},
        {"no default button", IDD_OPERATING, 0, enter, {platform::ID_OK}},
        {"close without a Cancel button", IDD_VR38UPDATE_DIALOG, 0, close, {platform::ID_CANCEL}},
        {"close", IDD_WARNING, 0, close, {platform::ID_CANCEL}},
        {"close with Cancel disabled", IDD_WARNING, platform::ID_CANCEL, close, {}},
        {"menu items", IDD_WARNING, 0, menu, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CommandLog dialog(row.templateId);
        ASSERT_TRUE(dialog.Create());
        dialog.Show(true);
        dialog.EnableItem(row.disabled, false);  // no control has id 0
        row.act(dialog);
        EXPECT_EQ(dialog.commands, row.commands);
    }
}

TEST_F(HeadlessUiTest, CommandPostedToAWindowThatWent_IsDropped_AndAWaitThatStallsIsAFault)
{
    std::vector<std::string> faults;
    platform::headless::SetUiFaultHandler([&](const std::string& fault) { faults.push_back(fault); });
    platform::headless::SetStallMilliseconds(50);
    CommandLog gone(IDD_OPERATING);
    ASSERT_TRUE(gone.Create());
    std::thread([&] { gone.SetCaption("never"); }).join();  // no loop runs for it meanwhile
    CommandLog modal(IDD_OPERATING);
    platform::headless::SetUiScript({.onShown = [&](platform::Dialog& shown) {
        platform::PostCommand(gone.Handle(), 5);
        gone.DestroyWindow();
        platform::PostCommand(shown.Handle(), 9);
    }});
    EXPECT_EQ(modal.DoModal(), 9);

    platform::headless::SetUiScript({});
    CommandLog waiting(IDD_OPERATING);  // nothing will ever end it
    EXPECT_EQ(waiting.DoModal(), -1);
    // Two stalls; only the other thread's operation came from another thread.
    EXPECT_EQ(std::tuple(gone.commands.size(), faults.size(),
                         std::ranges::count_if(platform::headless::UiEvents(), &UiEvent::fromOtherThread)),
              std::tuple(0u, 2u, 1));
}

}  // namespace
