// The artwork generator: draws every skin, button strip, icon and cursor into res/, the stamp
// collections into content/, and a contact sheet of all of it.
//   quillet_artgen <res folder> <content folder> <contact sheet.png> [module...]
// Modules: main preview dlg stmpdlg strips icons stamps (all when none is named).
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "art.h"

struct ArtModule {
    const char* name;
    int (*draw)(const ArtOut&);
};

// The main skins come first: their strips are cut from the finished skin 118.
static const ArtModule kModules[] = {
    {"main", DrawMainSkins},       {"preview", DrawPreviewSkins}, {"dlg", DrawDlgSkins},
    {"stmpdlg", DrawStmpDlgSkins}, {"strips", DrawDlgStrips},     {"icons", DrawIcons},
    {"stamps", DrawStamps},
};

static int IsChosen(const char* name, int argc, char** argv) {
    if (argc <= 4) return 1;
    for (int i = 4; i < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return 1;
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <res folder> <content folder> <sheet.png> [module...]\n",
                     argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const ArtOut out{QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])};
    int ok = 1;
    for (const ArtModule& m : kModules)
        if (IsChosen(m.name, argc, argv) && !m.draw(out)) {
            std::fprintf(stderr, "%s: failed\n", m.name);
            ok = 0;
        }
    if (!DrawSheet(QString::fromLocal8Bit(argv[3]))) ok = 0;
    return ok ? 0 : 1;
}
