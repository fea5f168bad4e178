// The main window's children as they are made today: its 19 bitmap buttons.
#include "ui/mainchild.h"

#include <gtest/gtest.h>

#include "app/appstate.h"
#include "support/testutil.h"

namespace {

TEST(MakeMainChild, MakesTheNineteenButtons) {
    AppEnv env;
    BtnParent main;
    EXPECT_EQ(MakeMainChild(main.wnd), 1);
    int made = 0;
    for (int id = 101; id <= 145; ++id) made += GetDlgItem(main.wnd, id) != nullptr;
    EXPECT_EQ(made, 19);
    EXPECT_NE(GetDlgItem(main.wnd, 131), nullptr);
    EXPECT_EQ(GetDlgItem(main.wnd, 119), nullptr);
    EXPECT_EQ(g_app.loadBtnWnd, GetDlgItem(main.wnd, 115));
}

}  // namespace
