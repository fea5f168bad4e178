// The Qt application: the connection to the display that fonts, the screen and windows need.
#include <QApplication>

#include "platform/gdi/records.h"

namespace {

// Set by PlatInitNoApp: no application is made on demand.
bool g_noApp;

}  // namespace

void PlatInitNoApp() {
    g_noApp = true;
}

int EnsureQtApp() {
    if (QCoreApplication::instance()) return 1;
    if (g_noApp) return 0;
    static int argc = 1;
    static char name[] = "quillet";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    return 1;
}
