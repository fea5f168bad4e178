// Painting: each window's backing picture, the update area, WM_PAINT, window surfaces, and the
// look of static controls.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QThread>
#include <QWindow>
#include <cstring>

#include "platform/user/records.h"

COLORREF GetSysColor(int index) {
    switch (index) {
        case COLOR_WINDOW: return RGB(255, 255, 255);
        case COLOR_ACTIVECAPTION: return RGB(0, 120, 215);
        case COLOR_WINDOWTEXT:
        case COLOR_BTNTEXT: return RGB(0, 0, 0);
        case COLOR_CAPTIONTEXT: return RGB(255, 255, 255);
        case COLOR_HIGHLIGHT: return RGB(0, 120, 215);
        case COLOR_HIGHLIGHTTEXT: return RGB(255, 255, 255);
        case COLOR_GRAYTEXT: return RGB(109, 109, 109);
        case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
        case COLOR_3DLIGHT: return RGB(227, 227, 227);
        case COLOR_BTNSHADOW: return RGB(160, 160, 160);
        case COLOR_3DDKSHADOW: return RGB(105, 105, 105);
        case COLOR_BTNFACE:
        default: return RGB(240, 240, 240);
    }
}

HBRUSH GetSysColorBrush(int index) {
    static HBRUSH brushes[32];
    if (index < 0 || index >= 32) return nullptr;
    if (!brushes[index]) brushes[index] = CreateSolidBrush(GetSysColor(index));
    return brushes[index];
}

HBRUSH GetClassBrush(HWND wnd) {
    if (wnd->dialog) return GetSysColorBrush(COLOR_BTNFACE);
    if (!wnd->cls || !wnd->cls->background) return nullptr;
    // A class background may be a system colour number plus one.
    const uintptr_t v = reinterpret_cast<uintptr_t>(wnd->cls->background);
    if (v <= 32) return GetSysColorBrush(int(v) - 1);
    return wnd->cls->background;
}

bool IsStaticWnd(HWND wnd) {
    return wnd->cls && wnd->cls->name == "STATIC";
}

void FitBacking(HWND wnd) {
    if (IsStaticWnd(wnd)) return;
    const int w = std::max(wnd->widget->width(), 1), h = std::max(wnd->widget->height(), 1);
    if (wnd->backing && wnd->backing->width == w && wnd->backing->height == h) return;
    BitmapRec* b = NewBmpRec(w, h, true);
    if (!b) return;
    if (wnd->backing) {
        const int cw = std::min(w, wnd->backing->width), ch = std::min(h, wnd->backing->height);
        for (int y = 0; y < ch; ++y)
            std::memcpy(b->px + size_t(y) * w, wnd->backing->px + size_t(y) * wnd->backing->width,
                        size_t(cw) * 4);
        DeleteObject(wnd->backing);
    }
    wnd->backing = b;
}

// Adds r (client coordinates) to the window's update area. A window without WS_CLIPCHILDREN
// paints over its children, so the child windows under r are invalidated with it.
static void AddUpdate(HWND wnd, const QRect& r, BOOL erase) {
    const QRect in = r.intersected(wnd->widget->rect());
    if (in.isEmpty()) return;
    wnd->update |= in;
    wnd->erase = wnd->erase || erase;
    wnd->widget->update(in);
    if (wnd->style & WS_CLIPCHILDREN) return;
    for (HWND c : wnd->children)
        if (IsLiveWnd(c) && c->child && !c->ctl && c->widget->isVisible())
            AddUpdate(c, in.translated(-c->widget->pos()), erase);
}

BOOL InvalidateRect(HWND wnd, const RECT* rect, BOOL erase) {
    if (!IsLiveWnd(wnd)) return FALSE;
    const QRect r =
        rect ? QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top)
             : wnd->widget->rect();
    AddUpdate(wnd, r, erase);
    return TRUE;
}

void PaintDue(HWND wnd) {
    if (!IsLiveWnd(wnd) || wnd->update.isEmpty()) return;
    wnd->beganPaint = false;
    SendMessageA(wnd, WM_PAINT, 0, 0);
    // A procedure that answers without BeginPaint still ends the update; one that did may have
    // asked for the next paint since.
    if (IsLiveWnd(wnd) && !wnd->beganPaint) {
        wnd->update = QRegion();
        wnd->erase = false;
    }
}

// How long a window just shown may take to be mapped by the display server.
constexpr int kExposeWaitMs = 2000;

// A window just shown is on the screen once the display server has mapped it: waited for once
// after each show, handling only the window system's own events meanwhile. False when the
// window went away in the meantime.
bool AwaitExpose(HWND top) {
    if (!top->awaitExpose) return true;
    top->awaitExpose = false;
    QPointer<QWindow> win = top->widget->windowHandle();
    QElapsedTimer clock;
    clock.start();
    while (win && !win->isExposed() && clock.elapsed() < kExposeWaitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!IsLiveWnd(top)) return false;
        if (win && !win->isExposed()) QThread::msleep(5);
    }
    return IsLiveWnd(top);
}

// The window's look goes to the screen before the call returns, as the original's painting did:
// the program may block right after (an upload).
void FlushWnd(HWND wnd) {
    HWND top = GetTopWnd(wnd);
    if (!top->widget->isVisible() || top->widget->isMinimized()) {
        wnd->widget->update();
        return;
    }
    if (!AwaitExpose(top) || !IsLiveWnd(wnd)) return;
    wnd->widget->repaint();
}

BOOL UpdateWindow(HWND wnd) {
    if (!IsLiveWnd(wnd)) return FALSE;
    PaintDue(wnd);
    FlushWnd(wnd);
    return TRUE;
}

HDC GetDC(HWND wnd) {
    if (!wnd) return NewDCRec(true);
    if (!IsLiveWnd(wnd) || !wnd->backing) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    dc->bmp = wnd->backing;
    dc->wnd = wnd;
    return dc;
}

int ReleaseDC(HWND wnd, HDC dc) {
    if (!wnd) {
        if (!dc || !dc->display) return 0;
        FreeDCRec(dc);
        return 1;
    }
    if (!dc || dc->wnd != wnd) return 0;
    dc->bmp = nullptr;
    DeleteDC(dc);
    if (IsLiveWnd(wnd)) wnd->widget->update();
    return 1;
}

HDC BeginPaint(HWND wnd, PAINTSTRUCT* ps) {
    HDC dc = GetDC(wnd);
    if (!dc) return nullptr;
    const QRect box = wnd->update.isEmpty() ? wnd->widget->rect() : wnd->update.boundingRect();
    ps->hdc = dc;
    ps->rcPaint = RECT{box.left(), box.top(), box.right() + 1, box.bottom() + 1};
    ps->fErase = FALSE;
    const bool erase = wnd->erase;
    wnd->update = QRegion();
    wnd->erase = false;
    wnd->beganPaint = true;
    if (erase) ps->fErase = !SendMessageA(wnd, WM_ERASEBKGND, WPARAM(dc), 0);
    return dc;
}

BOOL EndPaint(HWND wnd, const PAINTSTRUCT* ps) {
    return ReleaseDC(wnd, ps->hdc);
}

void WndWidget::paintEvent(QPaintEvent*) {
    if (!IsLiveWnd(wnd)) return;
    QPainter p(this);
    if (IsStaticWnd(wnd)) {
        PaintStatic(wnd, p);
        return;
    }
    // Qt asks for a paint when the window first shows or is uncovered: everything is due then
    // unless the program already painted it.
    PaintDue(wnd);
    if (!wnd->backing) return;
    const QImage img(reinterpret_cast<const uchar*>(wnd->backing->px), wnd->backing->width,
                     wnd->backing->height, wnd->backing->width * 4, QImage::Format_RGB32);
    p.drawImage(0, 0, img);
}

void PaintStatic(HWND wnd, QPainter& p) {
    if ((wnd->style & SS_TYPEMASK) == SS_BITMAP) {
        // The picture named by the control's text, loaded at its first paint.
        if (!wnd->image)
            wnd->image = LoadBitmapA(nullptr, MAKEINTRESOURCEA(atoi(wnd->text.c_str())));
        if (!wnd->image) return;
        const QImage img(reinterpret_cast<const uchar*>(wnd->image->px), wnd->image->width,
                         wnd->image->height, wnd->image->width * 4, QImage::Format_RGB32);
        p.drawImage(0, 0, img);
        return;
    }
    // The parent chooses the colours: WM_CTLCOLORSTATIC with a surface whose text colour and
    // background mode it sets, and the brush for the background (the null brush: none).
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH brush = wnd->parent ? reinterpret_cast<HBRUSH>(SendMessageA(
                                     wnd->parent, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(wnd)))
                               : nullptr;
    if (brush && !brush->hollow) p.fillRect(wnd->widget->rect(), QColor(ColorToPx(brush->color)));
    p.setFont(GetWndQFont(wnd));
    p.setPen(QColor::fromRgb(ColorToPx(dc->textColor)));
    const int align = ((wnd->style & SS_TYPEMASK) == SS_CENTER ? Qt::AlignHCenter : Qt::AlignLeft) |
                      Qt::AlignTop | Qt::TextWordWrap;
    p.setClipRect(wnd->widget->rect());
    p.drawText(wnd->widget->rect(), align, QString::fromStdString(wnd->text));
    DeleteDC(dc);
}

HBITMAP PlatGrabWindow(HWND wnd) {
    if (!IsLiveWnd(wnd)) return nullptr;
    return NewBmpFromImage(wnd->widget->grab().toImage());
}
