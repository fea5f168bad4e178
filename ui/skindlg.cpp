#include "ui/skindlg.h"

#include "app/appstate.h"
#include "platform/gdi/display.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/region.h"
#include "platform/text/codepage.h"
#include "platform/user/msgbox.h"
#include "ui/bmpbtn.h"
#include "ui/bmprgn.h"

int MakeSkinDlg(HWND dlg, int skinNum, int w, int h, const DlgBtn* btns, int count,
                const char* caption, HBITMAP* skin) {
    *skin = LoadBitmapA(g_app.inst, MAKEINTRESOURCEA(skinNum));
    SetWindowRgn(dlg, MakeRndRgn(w, h), TRUE);
    for (int i = 0; i < count; i++) {
        const DlgBtn& b = btns[i];
        if (MakeBmpBtn(dlg, BmpBtnProc, b.id, b.x, b.y, b.w, b.h, b.strip)) continue;
        MessageBoxA(dlg, "ボタンが作成できませんでした", caption, MB_OK);
        DestroyWindow(dlg);
        return 0;
    }
    return 1;
}

void FreeSkin(HBITMAP* skin) {
    if (*skin) DeleteObject(*skin);
    *skin = nullptr;
}

INT_PTR ClearLblBk(WPARAM dc) {
    SetBkMode(reinterpret_cast<HDC>(dc), TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
}

void CentreInWorkArea(HWND dlg, int w, int h) {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    MoveWindow(dlg, (work.right - w) / 2, (work.bottom - h) / 2, w, h, TRUE);
}

std::string GetFieldText(HWND dlg, int id) {
    HWND field = GetDlgItem(dlg, id);
    std::string text(size_t(GetWindowTextLengthA(field)) + 1, '\0');
    text.resize(size_t(GetWindowTextA(field, text.data(), int(text.size()))));
    return text;
}

int GetFieldSjis(HWND dlg, int id, std::string* sjis) {
    return Utf8ToSjis(GetFieldText(dlg, id).c_str(), sjis);
}

int SetFieldSjis(HWND dlg, int id, const char* sjis) {
    std::string utf8;
    const int ok = SjisToUtf8(sjis, &utf8);
    SetDlgItemTextA(dlg, id, ok ? utf8.c_str() : "");
    return ok;
}
