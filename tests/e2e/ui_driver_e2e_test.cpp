// The UI driver that the end-to-end suites use, tried on a program of its
// own: this test program started again as a target that shows a message box.

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <filesystem>

#include "uidriver/ui_driver.h"

namespace {

constexpr const char* kTargetSwitch = "--show-message-box";
constexpr const char* kErrorTargetSwitch = "--show-error-box";

std::string OwnPath()
{
    std::array<char, MAX_PATH + 1> path{};
    const auto length = ::GetModuleFileNameA(nullptr, path.data(), MAX_PATH);
    return std::string(path.data(), length);
}

TEST(UiDriver, FindsReadsAndAnswersAnotherProgramsMessageBox)
{
    auto target = uidriver::Process::Start(OwnPath(), {}, kTargetSwitch);
    ASSERT_TRUE(target);
    const auto box = uidriver::WaitForMessageBox(target->Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Target");
    EXPECT_EQ(box->text, "Proceed with the update?");
    EXPECT_EQ(box->buttons, (std::vector<std::string>{"&Yes", "&No"}));
    EXPECT_EQ(uidriver::MessageBoxIcon(*box), uidriver::StandardIcon::Warning);

    const auto shot = (std::filesystem::temp_directory_path() / "vr38-uidriver.bmp").string();
    EXPECT_TRUE(uidriver::SaveScreenshot(shot));
    EXPECT_GT(std::filesystem::file_size(shot), 1000u);
    std::filesystem::remove(shot);

    uidriver::Answer(*box, IDNO);
    EXPECT_EQ(target->WaitForExit(), static_cast<DWORD>(IDNO));
}

TEST(UiDriver, TellsTheErrorIconFromTheWarningIcon)
{
    auto target = uidriver::Process::Start(OwnPath(), {}, kErrorTargetSwitch);
    ASSERT_TRUE(target);
    const auto box = uidriver::WaitForMessageBox(target->Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(uidriver::MessageBoxIcon(*box), uidriver::StandardIcon::Error);
    uidriver::Answer(*box, IDOK);
    EXPECT_EQ(target->WaitForExit(), static_cast<DWORD>(IDOK));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == kTargetSwitch) {
        return ::MessageBoxA(nullptr, "Proceed with the update?", "Target", MB_YESNO | MB_ICONEXCLAMATION);
    }
    if (argc > 1 && std::string(argv[1]) == kErrorTargetSwitch) {
        return ::MessageBoxA(nullptr, "The update failed.", "Target", MB_OK | MB_ICONERROR);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
