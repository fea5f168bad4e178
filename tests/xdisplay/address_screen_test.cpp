// The address book with a few entries, Japanese names among them, one name being edited, on a
// real screen; saved as a screenshot for a person to look at. The test checks that the skin, the
// list and the editor over its cell reached the screen.
#include <gtest/gtest.h>

#include "address/addrdlg.h"
#include "address/address.h"
#include "app/appstate.h"
#include "app/folders.h"
#include "platform/controls/listview.h"
#include "platform/text/codepage.h"
#include "screen_util.h"
#include "support/testutil.h"
#include "ui/appmsg.h"

namespace {

TEST(Screen, AddressBookEditingACell) {
    AppEnv env;
    // The file as the program writes it: CP932 fields, escaped (ミ's trail byte is a tilde).
    std::string book;
    const char* const names[][2] = {{"山田 花子", "hanako@example.jp"},
                                    {"佐藤 一郎", "ichiro@example.jp"},
                                    {"Mika Tanaka", "mika@example.jp"},
                                    {"ミカ", "mika2@example.jp"}};
    for (int i = 0; i < 4; i++) {
        std::string name;
        ASSERT_EQ(Utf8ToSjis(names[i][0], &name), 1);
        book += std::to_string(i) + ",";
        EscapeField(name.c_str(), &book);
        book += std::string(",") + names[i][1] + ",";
    }
    book += "-1,0";
    ASSERT_TRUE(
        WriteFileBytes(std::string(g_app.AppFolder) + kAdrName, {book.begin(), book.end()}));
    MsgRecorder rec;
    QImage shot;
    RECT dlgRect{}, editRect{};
    rec.others = [&](const ModalEvent* ev) {
        if (ev->templ != 168) return 0;
        HWND dlg = ev->wnd, list = GetDlgItem(dlg, 1010);
        ListView_SetCheckState(list, 0, TRUE);
        ListView_SetCheckState(list, 2, TRUE);
        // A double click on the second name opens the editor; the user starts typing.
        RECT cell;
        ListView_GetSubItemRect(list, 1, 1, LVIR_LABEL, &cell);
        const int x = 20 + (cell.left + cell.right) / 2, y = 48 + (cell.top + cell.bottom) / 2;
        PlatMouseEvent(dlg, WM_LBUTTONDOWN, x, y);
        PlatMouseEvent(dlg, WM_LBUTTONUP, x, y);
        PlatMouseEvent(dlg, WM_LBUTTONDBLCLK, x, y);
        PlatMouseEvent(dlg, WM_LBUTTONUP, x, y);
        PlatCommitText("佐藤 次郎");
        PumpMsgs();
        shot = GrabScreen("address-screenshot.png");
        GetWindowRect(dlg, &dlgRect);
        if (g_cellEdit.editor) GetWindowRect(g_cellEdit.editor, &editRect);
        SendMessageA(dlg, WM_APP_BUTTON, 129, 0);
        return 0;
    };
    RunAddressDlg(nullptr);
    ASSERT_FALSE(shot.isNull());
    const PicData skin = LoadResPic(164);
    // The bear at the bottom and the title band are the skin's.
    for (POINT p : {POINT{237, 300}, POINT{60, 18}, POINT{250, 290}})
        EXPECT_EQ(shot.pixel(dlgRect.left + p.x, dlgRect.top + p.y) & 0xFFFFFF, skin.At(p.x, p.y))
            << p.x << "," << p.y;
    // The editor stands over the name column of the second row, on top.
    EXPECT_GT(editRect.right - editRect.left, 100);
    EXPECT_GT(editRect.left, dlgRect.left + 20 + 36);
    EXPECT_LT(editRect.right, dlgRect.left + 20 + 36 + 150 + 8);
}

}  // namespace
