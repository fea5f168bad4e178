// Picks the reader by the file name's extension, and converts JPEG, GIF and PNG files to a BMP
// through the codec library.
#include <cstring>

#include "app/folders.h"
#include "image/readpic.h"
#include "platform/kernel/fileapi.h"
#include "platform/kernel/kernel.h"

namespace {

typedef int (*GetJpegFileFn)(const char* src, const char* dstBmp);

int IsExtIn(const char* ext, const char* const* list) {
    for (; *list; list++)
        if (strcmp(ext, *list) == 0) return 1;
    return 0;
}

}  // namespace

const char* PicExt(const char* path) {
    const char* name = strrchr(path, '/');
    const char* dot = strrchr(name ? name : path, '.');
    return dot ? dot : "";
}

// The comparison is case-sensitive: mixed-case extensions such as ".Jpg" are refused.
HBITMAP ReadPicFile(HWND owner, const char* path, SIZE* size) {
    static const char* const kBmp[] = {".bmp", ".BMP", nullptr};
    static const char* const kCodec[] = {".gif", ".GIF",  ".png",  ".PNG", ".jpg",
                                         ".JPG", ".jpeg", ".JPEG", nullptr};
    const char* ext = PicExt(path);
    if (IsExtIn(ext, kBmp)) return ReadBitmap(owner, path, size);
    if (IsExtIn(ext, kCodec)) return ReadJpegFile(owner, path, size);
    return nullptr;
}

// The conversion file is removed first, so that a failed or impossible conversion (no codec
// library) fails silently instead of opening what an earlier conversion or save left there.
HBITMAP ReadJpegFile(HWND owner, const char* path, SIZE* size) {
    char temp[MAX_PATH];
    if (!PrepAppFilePath(kTempBmpName, temp)) return nullptr;
    // A longer path would be cut and name another file.
    if (strlen(path) >= (size_t)MAX_PATH) return nullptr;
    DeleteFileA(temp);
    HMODULE lib = LoadLibraryA("HlvJpg.DLL");
    if (lib) {
        GetJpegFileFn get = (GetJpegFileFn)GetProcAddress(lib, "GetJpegFile");
        const int ok = get && get(path, temp);
        FreeLibrary(lib);
        if (!ok) return nullptr;
    }
    return ReadBitmap(owner, temp, size);
}
