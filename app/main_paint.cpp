// Painting the main window: the skin, the tab page and the selected slot's frame.
#include "app/appstate.h"
#include "app/mainwnd.h"
#include "platform/user/msgbox.h"
#include "ui/memsurf.h"

void MainPaint(HWND wnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    HDC mem = CreateCompatibleDC(dc);
    if (!DrawSkin(dc, mem, g_app.mainSkin, 0, 0, kMainW, kMainH))
        MessageBoxA(wnd, "メインウインドウが描画できません", "Error", MB_OK);
    const RECT& page = g_app.tabPageRect;
    DrawSkin(dc, mem, g_app.tabPages[g_app.CurTab], page.left, page.top, page.right - page.left,
             page.bottom - page.top);
    DeleteDC(mem);
    // A red frame 3 pixels wide with rounded corners; the slot paints the thumbnail over its
    // middle. The null pen leaves out the last column and row.
    const RECT& r = g_app.slotRects[g_app.SelSlot[g_app.CurTab]];
    HGDIOBJ oldBrush = SelectObject(dc, g_app.hiliteBrush);
    HGDIOBJ oldPen = SelectObject(dc, g_app.nullPen);
    RoundRect(dc, r.left + 1, r.top + 1, r.right, r.bottom, 4, 4);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    EndPaint(wnd, &ps);
}
