// quillet-export's run: a private working folder, the photo opened and edited by the work
// image's commands, the canvas saved as the save command saves it.
#include <stdlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/appstate.h"
#include "app/export.h"
#include "app/folders.h"
#include "image/brightness.h"
#include "image/canvas.h"
#include "image/savepic.h"
#include "image/slider.h"
#include "image/stamp.h"
#include "image/workbmp.h"

namespace {

void TellFail(const char* what, const char* arg) {
    fprintf(stderr, "quillet-export: %s: %s\n", what, arg);
}

// Makes a fresh folder readable by the user only under $TMPDIR (or /tmp) and makes it the
// application folder, so that temp.bmp never meets the one of a running program. 1 when made;
// dir gets its path.
int MakeExportDir(std::string* dir) {
    const char* base = getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/quillet-export-XXXXXX";
    if (!mkdtemp(tmpl.data())) {
        TellFail("作業フォルダを作れませんでした", tmpl.c_str());
        return 0;
    }
    *dir = tmpl;
    // The working files' paths must fit, or the picture code would refuse them silently.
    const int n = snprintf(g_app.AppFolder, MAX_PATH, "%s/", tmpl.c_str());
    if (n >= MAX_PATH || size_t(n) + strlen(kTempBmpName) >= size_t(MAX_PATH)) {
        TellFail("作業フォルダの名前が長すぎます", tmpl.c_str());
        return 0;
    }
    return 1;
}

// Removes the working folder with whatever the picture code left in it. A folder left behind
// is told; the picture is saved all the same, so the run does not fail for it.
void RemoveExportDir(const std::string& dir) {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    if (ec) TellFail("作業フォルダを消せませんでした", dir.c_str());
}

int OpenExportPhoto(const std::string& path) {
    // The reader's paths hold MAX_PATH bytes with the terminator: a longer one would be cut.
    if (path.size() >= size_t(MAX_PATH)) {
        TellFail("写真のパスが長すぎます", path.c_str());
        return 0;
    }
    errno = 0;
    if (InitWorkBmp(path.c_str())) return 1;
    // The reader is silent for a missing file, an unknown extension or a file it cannot decode;
    // a good photo too large for the memory left is not to be blamed.
    TellFail(errno == ENOMEM ? "写真を開くメモリが足りません" : "写真を開けませんでした",
             path.c_str());
    return 0;
}

// The photo's steps in their fixed order. 0 when the view picture was lost on the way (told by
// the picture code as well): the canvas would be white.
int EditExportPhoto(const ExportArgs& a) {
    for (int z : a.zooms) z > 0 ? ZoomInWorkBmp() : ZoomOutWorkBmp();
    for (int i = 0; i < a.turns; i++) RotWorkBmp();
    if (a.mirror) MirWorkBmp();
    if (a.knob) BrtWorkBmp(GetKnobBrt(a.knob));
    if (a.panned) {
        PanWorkBmp(a.panX, a.panY);
        TakeWorkCenter();
    }
    if (WorkBmp.viewBmp) return 1;
    TellFail("写真を描けませんでした", a.photo.c_str());
    return 0;
}

int AddExportStmps(const ExportArgs& a) {
    for (const ExportStmp& s : a.stamps) {
        if (!AddStmp(s.path.c_str())) {
            TellFail("スタンプを開けませんでした", s.path.c_str());
            return 0;
        }
        if (s.placed) MoveStmp(s.x, s.y);
    }
    return 1;
}

// SaveCanvasFile tells its own refusals and failures.
int SaveExportPic(const std::string& out) {
    HBITMAP canvas = MakeCanvasPic();
    if (!canvas) {
        TellFail("キャンバスを作れませんでした", out.c_str());
        return 0;
    }
    const int ok = SaveCanvasFile(out.c_str(), canvas);
    DeleteObject(canvas);
    return ok;
}

}  // namespace

// The application folder is the working folder during the run and is given back afterwards.
int RunExport(const ExportArgs& a) {
    if (!InitStmpList()) {
        fputs("quillet-export: メモリが足りません\n", stderr);
        return 0;
    }
    char appFolder[MAX_PATH];
    memcpy(appFolder, g_app.AppFolder, MAX_PATH);
    std::string dir;
    const int ok = MakeExportDir(&dir) && OpenExportPhoto(a.photo) && EditExportPhoto(a) &&
                   AddExportStmps(a) && SaveExportPic(a.out);
    FreeStmpList();
    ClearWorkBmp();
    if (!dir.empty()) RemoveExportDir(dir);
    memcpy(g_app.AppFolder, appFolder, MAX_PATH);
    return ok;
}
