// The headless user interface: that it reads the program's .rc as the
// resource compiler does, carries out other threads' window operations on
// the dialog's own thread, gives boxes and modal dialogs their owners and
// modality as Windows does, and runs timers without waiting.

#include <gtest/gtest.h>

#include <thread>

#include "platform/headless/resource_script.h"
#include "platform/headless/ui_driver.h"
#include "platform/thread.h"
#include "res/resource.h"

namespace {

using platform::headless::ControlTemplate;
using platform::headless::DialogTemplate;
using platform::headless::ProgramResources;
using platform::headless::UiEvent;

struct Layout {
    std::string windowClass;
    int id;
    std::string text;
    int x, y, cx, cy;
    bool enabled;
    bool operator==(const Layout&) const = default;
};

std::vector<Layout> Layouts(const DialogTemplate& dialog)
{
    std::vector<Layout> layouts;
    for (const auto& c : dialog.controls) {
        layouts.push_back({c.windowClass, c.id, c.text, c.x, c.y, c.cx, c.cy, c.InitiallyEnabled()});
    }
    return layouts;
}

TEST(ProgramResourcesTest, ProgressAndOperatingDialogs_AreLaidOutAsTheProgramExpects)
{
    const auto& resources = ProgramResources();
    EXPECT_TRUE(resources.errors.empty()) << resources.errors.front();

    const auto& progress = resources.dialogs.at(IDD_PROGRESS);
    EXPECT_EQ(std::tie(progress.cx, progress.cy, progress.fontSize, progress.fontName),
              std::tuple(183, 125, 9, std::string("MS Shell Dlg")));
    EXPECT_EQ(progress.styles,
              (std::set<std::string>{"DS_SETFONT", "DS_MODALFRAME", "DS_FIXEDSYS", "WS_POPUP", "WS_CAPTION"}));
    EXPECT_EQ(progress.exStyles, (std::set<std::string>{"WS_EX_TOOLWINDOW"}));
    EXPECT_EQ(progress.caption, "");
    EXPECT_EQ(Layouts(progress), (std::vector<Layout>{
                                     {"SysAnimate32", 2313, "", 7, 7, 169, 30, true},
                                     {"Static", 2311, "Transferring...", 7, 50, 169, 10, true},
                                     {"Static", 2312, "%s %%", 7, 62, 169, 10, true},
                                     {"msctls_progress32", 2310, "", 7, 76, 169, 15, true},
                                     {"Button", 2, "Cancel", 66, 104, 50, 14, false},
                                 }));

    const auto& operating = resources.dialogs.at(IDD_OPERATING);
    EXPECT_EQ(std::tie(operating.cx, operating.cy), std::tuple(183, 37));
    EXPECT_EQ(operating.styles, progress.styles);
    EXPECT_EQ(operating.exStyles, progress.exStyles);
    EXPECT_EQ(Layouts(operating),
              (std::vector<Layout>{{"Static", 2510, "The unit is operating...", 7, 12, 169, 10, true}}));
}

TEST(ResourceScriptTest, ReadsWhatTheResourceCompilerReads)
{
    const auto script = platform::headless::ParseResourceScript(R"rc(
#define IDD_MAIN 102   // a comment
#define IDC_LIST 1000
/* a block
   comment */
#ifdef NOT_DEFINED
IDD_GONE DIALOGEX 0, 0, 1, 1
BEGIN
END
#endif
1 VERSIONINFO
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        VALUE "CompanyName", "x"
    END
END
IDD_MAIN DIALOGEX 0, 0, 200, 100
STYLE WS_POPUP |
      WS_CAPTION
CAPTION "Say ""hello"""
BEGIN
    DEFPUSHBUTTON   "&Update", IDOK, 1, 2, 3, 4
    COMBOBOX        IDC_LIST, 5, 6, 7, 8, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL
    LTEXT           "Hidden", IDC_STATIC, 9, 10, 11, 12, NOT WS_VISIBLE
END
STRINGTABLE
BEGIN
    101, "Line\none"
END
)rc",
                                                                ".");
    EXPECT_TRUE(script.errors.empty());
    EXPECT_FALSE(script.dialogs.contains(0));
    ASSERT_TRUE(script.dialogs.contains(102));
    const auto& dialog = script.dialogs.at(102);
    EXPECT_EQ(dialog.caption, "Say \"hello\"");
    EXPECT_EQ(dialog.styles, (std::set<std::string>{"WS_POPUP", "WS_CAPTION"}));
    ASSERT_EQ(dialog.controls.size(), 3u);
    EXPECT_TRUE(dialog.controls[0].styles.contains("BS_DEFPUSHBUTTON"));
    EXPECT_EQ(dialog.controls[0].id, 1);
    EXPECT_EQ(dialog.controls[1].windowClass, "ComboBox");
    EXPECT_EQ(std::tie(dialog.controls[1].id, dialog.controls[1].cy), std::tuple(1000, 8));
    EXPECT_TRUE(dialog.controls[1].styles.contains("CBS_SORT"));
    EXPECT_FALSE(dialog.controls[2].InitiallyVisible());
    EXPECT_EQ(dialog.controls[2].id, -1);
    EXPECT_EQ(script.strings.at(101), "Line\none");

    const auto broken = platform::headless::ParseResourceScript(
        "9 DIALOGEX 0, 0, 1, 1\nBEGIN\n    PUSHBUTTON \"x\", UNKNOWN_ID, 1, 2, 3, 4\nEND\n", ".");
    EXPECT_EQ(broken.errors.size(), 1u);
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
    EXPECT_FALSE(dialog.ownerEnabledMeanwhile);
    EXPECT_TRUE(platform::headless::IsWindowEnabled(main));
    EXPECT_TRUE(platform::headless::IsWindowEnabled(modeless));
    EXPECT_FALSE(clickedUnderBox);

    // The main window's own box; the worker's belongs to the window named at
    // its start.
    const auto boxes = platform::headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].ownerId, IDD_VR38UPDATE_DIALOG);
    EXPECT_EQ(boxes[1].ownerId, IDD_OPERATING);
    for (const auto& box : boxes) {
        EXPECT_TRUE(box.windowsTakingInput.empty()) << box.text;
    }
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

}  // namespace
