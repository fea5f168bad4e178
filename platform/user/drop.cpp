// Dropped files: Qt's drags of local files become WM_DROPFILES with a handle to the paths.
#include "platform/user/drop.h"

#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QSysInfo>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/user/records.h"

struct DropRec {
    HWND wnd;  // the window it was posted to
    std::vector<std::string> paths;
};

namespace {

std::vector<std::unique_ptr<DropRec>> g_drops;  // handles not yet released

DropRec* FindDrop(HDROP drop) {
    for (const auto& d : g_drops)
        if (d.get() == drop) return d.get();
    return nullptr;
}

// The path of a file address on this machine, else empty. A file address of another host would
// name a different file here, and a path with a zero byte would be cut short by the program.
QString GetLocalPath(const QUrl& url) {
    if (!url.isLocalFile()) return {};
    const QString host = url.host();
    if (!host.isEmpty() && host.compare("localhost", Qt::CaseInsensitive) != 0 &&
        host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) != 0)
        return {};
    QUrl here = url;
    here.setHost({});
    const QString path = here.toLocalFile();
    return path.contains(QChar(0)) ? QString() : path;
}

// The local files among the dragged addresses, as file-system bytes.
std::vector<std::string> GetDropPaths(const QMimeData* mime) {
    std::vector<std::string> paths;
    if (!mime || !mime->hasUrls()) return paths;
    for (const QUrl& url : mime->urls()) {
        const QString path = GetLocalPath(url);
        if (!path.isEmpty()) paths.push_back(QFile::encodeName(path).toStdString());
    }
    return paths;
}

// A window takes a drag while it accepts dropped files and input, as a copy: a source that only
// offers to move its files would lose them.
bool TakesDrag(HWND wnd, const QDropEvent* e) {
    return IsLiveWnd(wnd) && wnd->widget->acceptDrops() && !IsInputOff(wnd) &&
           (e->possibleActions() & Qt::CopyAction);
}

void AnswerDrag(HWND wnd, QDropEvent* e) {
    if (!TakesDrag(wnd, e) || GetDropPaths(e->mimeData()).empty()) return e->ignore();
    e->setDropAction(Qt::CopyAction);
    e->accept();
}

}  // namespace

void WndWidget::dragEnterEvent(QDragEnterEvent* e) {
    AnswerDrag(wnd, e);
}

void WndWidget::dragMoveEvent(QDragMoveEvent* e) {
    AnswerDrag(wnd, e);
}

void WndWidget::dropEvent(QDropEvent* e) {
    std::vector<std::string> paths = GetDropPaths(e->mimeData());
    if (!TakesDrag(wnd, e) || paths.empty()) return e->ignore();
    // A drop still queued when its window went was never delivered: nothing else releases it.
    std::erase_if(g_drops, [](const auto& d) { return !IsLiveWnd(d->wnd); });
    auto rec = std::make_unique<DropRec>(DropRec{wnd, std::move(paths)});
    if (!PostMessageA(wnd, WM_DROPFILES, WPARAM(rec.get()), 0)) {
        fprintf(stderr, "WM_DROPFILES: not posted\n");
        return e->ignore();
    }
    g_drops.push_back(std::move(rec));
    e->setDropAction(Qt::CopyAction);
    e->accept();
}

void DragAcceptFiles(HWND wnd, BOOL accept) {
    if (IsLiveWnd(wnd)) wnd->widget->setAcceptDrops(accept != FALSE);
}

UINT DragQueryFileA(HDROP drop, UINT index, LPSTR file, UINT size) {
    const DropRec* rec = FindDrop(drop);
    if (!rec) {
        fprintf(stderr, "DragQueryFileA: unknown drop handle\n");
        return 0;
    }
    if (index == 0xFFFFFFFF) return UINT(rec->paths.size());
    if (index >= rec->paths.size()) return 0;
    const std::string& path = rec->paths[index];
    if (!file) return UINT(path.size());
    if (size == 0) return 0;
    const size_t n = std::min<size_t>(path.size(), size - 1);
    memcpy(file, path.data(), n);
    file[n] = '\0';
    return UINT(n);
}

void DragFinish(HDROP drop) {
    if (!std::erase_if(g_drops, [drop](const auto& d) { return d.get() == drop; }))
        fprintf(stderr, "DragFinish: unknown drop handle\n");
}

BOOL PlatDropUrls(HWND top, int x, int y, const char* const* urls, int count, BOOL moveOnly) {
    if (!IsLiveWnd(top)) return FALSE;
    const QPoint global = top->widget->mapToGlobal(QPoint(x, y));
    QWindow* win = QGuiApplication::topLevelAt(global);
    if (!win) return FALSE;
    QList<QUrl> list;
    for (int i = 0; i < count; i++) list.push_back(QUrl::fromEncoded(urls[i], QUrl::StrictMode));
    QMimeData mime;
    mime.setUrls(list);
    const QPoint pos = win->mapFromGlobal(global);
    const Qt::DropActions offered =
        moveOnly ? Qt::DropActions(Qt::MoveAction) : (Qt::CopyAction | Qt::MoveAction);
    QDragEnterEvent enter(pos, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QGuiApplication::sendEvent(win, &enter);
    QDragMoveEvent move(pos, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    if (enter.isAccepted()) QGuiApplication::sendEvent(win, &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QGuiApplication::sendEvent(win, &leave);
        return FALSE;
    }
    QDropEvent drop(pos, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QGuiApplication::sendEvent(win, &drop);
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}
