// The Win32 dialog backend in the test's own process, where a window's icons
// can be asked for (Wine answers another process's question for them with
// none): the icon a minimised dialog is dragged by is the message's result,
// and the caption's small icon is the icon's small image, not the large one.

#include <windows.h>

#include <gtest/gtest.h>

#include <tuple>

#include "platform/dialog.h"
#include "res/resource.h"

namespace {

struct IconDialog : platform::Dialog {
    IconDialog() : platform::Dialog(IDD_ABOUTBOX) {}
    bool OnInitDialog() override
    {
        SetIcon(IDR_MAINFRAME, true);
        SetIcon(IDR_MAINFRAME, false);
        return true;
    }
    int OnQueryDragIcon() override { return IDR_MAINFRAME; }
};

TEST(Win32Dialog, DragIconIsTheDialogsIcon_SmallIconIsLoadedAtTheSmallSize)
{
    IconDialog dialog;
    ASSERT_TRUE(dialog.Create());
    const auto window = reinterpret_cast<HWND>(dialog.Handle());
    const auto big = ::SendMessageA(window, WM_GETICON, ICON_BIG, 0);
    EXPECT_EQ(::SendMessageA(window, WM_QUERYDRAGICON, 0, 0), big);
    ICONINFO small{};
    ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, ICON_SMALL, 0)), &small));
    BITMAP image{};
    ::GetObjectA(small.hbmColor, sizeof(image), &image);
    ::DeleteObject(small.hbmColor);
    ::DeleteObject(small.hbmMask);
    EXPECT_EQ(std::tuple(image.bmWidth, image.bmHeight),
              std::tuple(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));
}

}  // namespace
