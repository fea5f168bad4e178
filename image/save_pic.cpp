// The save command and the picture to send: the canvas captured, then written by its name.
#include <cstring>

#include "app/appstate.h"
#include "app/folders.h"
#include "image/canvas.h"
#include "image/readpic.h"
#include "image/savepic.h"
#include "platform/comdlg/commdlg.h"
#include "platform/kernel/fileapi.h"
#include "platform/kernel/kernel.h"
#include "ui/msgdlg.h"

namespace {

typedef int (*SaveJpegFileFn)(const char* srcBmp, const char* dstJpg, int quality);

constexpr char kSaveFilter[] = "ＢＭＰ(*.bmp)\0*.bmp\0ＪＰＧ(*.jpg,*.jpeg)\0*.jpg;*.jpeg\0";

// Writes the canvas as temp.bmp and converts that to jpgPath: 1 done, 0 failed, -1 when the
// codec library cannot be loaded (temp.bmp is written all the same). An application folder that
// has gone is made again for temp.bmp, and with it the folder of the picture to send.
int SaveCanvasJpeg(const char* jpgPath, HBITMAP canvas) {
    char temp[MAX_PATH];
    if (!PrepAppFilePath(kTempBmpName, temp) || !WriteCanvasBmp(temp, canvas)) return 0;
    return ConvBmpJpeg(temp, jpgPath);
}

}  // namespace

int GetSaveName(char* path) {
    path[0] = 0;
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = g_app.mainWnd;
    ofn.lpstrFilter = kSaveFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = "画像ファイルを保存";
    ofn.lpstrDefExt = "bmp";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST |
                OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING;
    return GetSaveFileNameA(&ofn) ? 1 : 0;
}

int ConvBmpJpeg(const char* bmpPath, const char* jpgPath) {
    HMODULE lib = LoadLibraryA("HlvJpg.DLL");
    if (!lib) return -1;
    SaveJpegFileFn save = (SaveJpegFileFn)GetProcAddress(lib, "SaveJpegFile");
    const int ok = save && save(bmpPath, jpgPath, 100) != 0;
    FreeLibrary(lib);
    return ok;
}

// The extension is compared byte for byte: ".BMP" or ".JPG" are refused although the reader
// takes them.
int SaveCanvasFile(const char* path, HBITMAP canvas) {
    const char* ext = PicExt(path);
    int ok;
    if (strcmp(ext, ".bmp") == 0) {
        ok = WriteCanvasBmp(path, canvas);
    } else if (strcmp(ext, ".jpg") == 0 || strcmp(ext, ".jpeg") == 0) {
        ok = SaveCanvasJpeg(path, canvas);
        if (ok < 0) {
            ShowMsgDlg(nullptr, "ＪＰＥＧ変換ライブラリが読み込めないため\n保存できませんでした",
                       MSG_ERROR);
            return 0;
        }
    } else {
        const bool tooLong = strlen(path) >= 258 || !*ext;
        ShowMsgDlg(nullptr,
                   tooLong ? "ファイル名が長すぎて保存できませんでした\n"
                           : "ビットマップ、ＪＰＥＧ以外では\n保存できません",
                   MSG_ERROR);
        return 0;
    }
    // A save that silently failed would look done.
    if (!ok) ShowMsgDlg(nullptr, "画像を保存できませんでした", MSG_ERROR);
    return ok;
}

// A canvas that could not be captured fails the write, which is told.
int SaveWorkPic() {
    char path[MAX_PATH];
    if (!GetSaveName(path)) {
        // A name longer than the dialog's buffer is no cancel.
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) return 1;
        ShowMsgDlg(nullptr, "ファイル名が長すぎて保存できませんでした\n", MSG_ERROR);
        return 0;
    }
    HBITMAP canvas = MakeCanvasPic();
    const int ok = SaveCanvasFile(path, canvas);
    DeleteObject(canvas);
    return ok;
}

int SaveSendJpeg(const char* jpgPath) {
    DeleteFileA(jpgPath);
    HBITMAP canvas = MakeCanvasPic();
    const int ok = canvas && SaveCanvasJpeg(jpgPath, canvas) == 1;
    DeleteObject(canvas);
    return ok;
}
