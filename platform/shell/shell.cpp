// ShellExecuteA on QDesktopServices: web addresses and files open with the user's programs.
#include "platform/shell/shell.h"

#include <strings.h>

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <cstdio>
#include <string>

#include "platform/user/records.h"

namespace {

constexpr uintptr_t kOpened = 33;  // any answer above 32 is success
void (*g_openHook)(const char* url);

HINSTANCE MakeResult(uintptr_t value) {
    return reinterpret_cast<HINSTANCE>(value);
}

bool IsWebAddress(const char* text) {
    return strncasecmp(text, "http://", 7) == 0 || strncasecmp(text, "https://", 8) == 0;
}

HINSTANCE OpenUrl(const QUrl& url) {
    const QByteArray text = url.toEncoded();
    if (!url.isValid()) {
        fprintf(stderr, "ShellExecuteA: not an address: %s\n", text.constData());
        return MakeResult(SE_ERR_NOASSOC);
    }
    if (g_openHook) {
        g_openHook(text.constData());
        return MakeResult(kOpened);
    }
    EnsureApp();
    if (!QDesktopServices::openUrl(url)) {
        fprintf(stderr, "ShellExecuteA: nothing opens %s\n", text.constData());
        return MakeResult(SE_ERR_NOASSOC);
    }
    return MakeResult(kOpened);
}

}  // namespace

void PlatSetShellOpenHook(void (*hook)(const char* url)) {
    g_openHook = hook;
}

HINSTANCE ShellExecuteA(HWND, LPCSTR op, LPCSTR file, LPCSTR, LPCSTR dir, int) {
    if (op && strcasecmp(op, "open") != 0) return MakeResult(SE_ERR_NOASSOC);
    if (!file || !*file) return MakeResult(SE_ERR_FNF);
    if (IsWebAddress(file)) return OpenUrl(QUrl(QString::fromUtf8(file)));
    const std::string path = file[0] != '/' && dir && *dir ? std::string(dir) + "/" + file : file;
    const QFileInfo info(QString::fromStdString(path));
    if (!info.exists()) return MakeResult(SE_ERR_FNF);
    return OpenUrl(QUrl::fromLocalFile(QDir::cleanPath(info.absoluteFilePath())));
}
