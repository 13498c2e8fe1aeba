// The main window's full-screen command in the running program: the main
// window hides behind the full-screen window and comes back however full
// screen ends.
#include <gtest/gtest.h>

#include "e2e/player.h"
#include "resources/resource.h"

namespace {

constexpr char kIni[] = "[Settings]\r\nKeepSingleTask=yes\r\n";

// The process's full-screen window, or null.
HWND FullScreenWindow(const Player& player) {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"Zephlo FullScreen Window", nullptr);
         w != nullptr; w = FindWindowExW(nullptr, w, L"Zephlo FullScreen Window", nullptr)) {
        DWORD processId = 0;
        GetWindowThreadProcessId(w, &processId);
        if (processId == player.processId()) {
            return w;
        }
    }
    return nullptr;
}

TEST(FullScreenCommand, HidesTheMainWindowAndEveryWayOutBringsItBack) {
    Player player;
    ASSERT_TRUE(player.WriteSharedIni(kIni));
    ASSERT_TRUE(player.Start());
    HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND media = FindWindowExW(main, nullptr, L"Zephlo Media Window", nullptr);
    ASSERT_NE(media, nullptr);

    const struct {
        const char* way;
        bool byEscape;
    } cases[] = {{"command 157 again", false}, {"escape", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        SendMessageW(main, WM_COMMAND, CMD_FULL_SCREEN, 0);
        HWND full = FullScreenWindow(player);
        ASSERT_NE(full, nullptr);
        EXPECT_TRUE(IsWindowVisible(full));
        EXPECT_FALSE(IsWindowVisible(main));
        EXPECT_EQ(full, GetAncestor(media, GA_PARENT));
        EXPECT_EQ(1, player.CountWindows(L"Zephlo FullScreen Window"));

        if (c.byEscape) {
            SendMessageW(full, WM_KEYDOWN, VK_ESCAPE, 0);
        } else {
            SendMessageW(main, WM_COMMAND, CMD_FULL_SCREEN, 0);
        }
        EXPECT_TRUE(PumpUntil([&] { return FullScreenWindow(player) == nullptr; }, 5000));
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_EQ(main, GetAncestor(media, GA_PARENT));
    }
    EXPECT_EQ(player.Close(), 0u);
}

}  // namespace
