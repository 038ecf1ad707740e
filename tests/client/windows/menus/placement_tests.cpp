// Where the popup menus go, by table: inside the work area of the monitor
// nearest the anchor, including a second monitor and oversized menus.
#include <gtest/gtest.h>

#include "client/windows/menus/menu_placement.h"

namespace {

const RECT kPrimary = {0, 0, 1280, 994};       // a task bar below
const RECT kSecond = {1280, 100, 2560, 1124};  // right of it, lower

TEST(MenuPlacement, KeptInsideTheWorkArea) {
    const struct {
        const char* what;
        RECT work;
        POINT origin;
        SIZE size;
        POINT expected;
    } cases[] = {
        {"fits: the corner stays at the point", kPrimary, {300, 200}, {100, 106}, {300, 200}},
        {"touching both edges", kPrimary, {1180, 888}, {100, 106}, {1180, 888}},
        {"past the bottom right", kPrimary, {1250, 980}, {100, 106}, {1180, 888}},
        {"past the bottom only", kPrimary, {600, 990}, {100, 106}, {600, 888}},
        {"past the right only", kPrimary, {1275, 10}, {100, 106}, {1180, 10}},
        {"taller than the work area", kPrimary, {10, 500}, {100, 2000}, {10, 0}},
        {"wider than the work area", kPrimary, {500, 10}, {3000, 58}, {0, 10}},
        {"left of it: nothing moves it right", kPrimary, {-40, 10}, {100, 58}, {-40, 10}},
        {"second monitor, fits", kSecond, {1300, 150}, {100, 106}, {1300, 150}},
        {"second monitor, past its bottom right", kSecond, {2550, 1120}, {100, 106}, {2460, 1018}},
        {"second monitor, taller: its own top", kSecond, {1400, 600}, {100, 1500}, {1400, 100}},
        {"second monitor, wider: its own left", kSecond, {1400, 600}, {1500, 58}, {1280, 600}},
    };
    for (const auto& c : cases) {
        POINT got = KeepMenuInWorkArea(c.origin, c.size, c.work);
        EXPECT_EQ(c.expected.x, got.x) << c.what;
        EXPECT_EQ(c.expected.y, got.y) << c.what;
    }
}

TEST(MenuPlacement, SettingsMenuCentredUnderThePointAndNeverAboveRowTwenty) {
    const SIZE size = {100, 58};
    // The main window's client area starts at screen 200, 100.
    for (int client_y = 0; client_y <= 25; ++client_y) {
        POINT anchor = {200 + 500, 100 + client_y};
        POINT got = SettingMenuOrigin(anchor, client_y, size, kPrimary);
        EXPECT_EQ(650, got.x) << client_y;
        EXPECT_EQ(100 + (client_y <= 20 ? 20 : client_y), got.y) << client_y;
    }
    // Odd widths: half the width, rounded toward zero.
    EXPECT_EQ(450, SettingMenuOrigin(POINT{500, 300}, 200, SIZE{101, 58}, kPrimary).x);
    // Near the right edge of the second monitor: pushed back inside.
    POINT got = SettingMenuOrigin(POINT{2550, 1100}, 30, size, kSecond);
    EXPECT_EQ(2460, got.x);
    EXPECT_EQ(1066, got.y);
}

}  // namespace
