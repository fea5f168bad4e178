// Program entry. The windows are not built yet: for now the program reads the pictures named
// on the command line into the work image and tells what it made of them.
#include <cstdio>

#include "app/appstate.h"
#include "app/folders.h"
#include "image/workbmp.h"

int main(int argc, char** argv) {
    printf("Quillet: the picture reader and the work image are built; the windows come next.\n");
    if (!GetAppPath() || !GetAppFolder()) {
        fprintf(stderr, "Quillet: the program or data folder cannot be found.\n");
        return 0;
    }
    CreateDir();
    printf("program folder: %s\napplication folder: %s\n", g_app.ModuleDir, g_app.AppFolder);
    for (int i = 1; i < argc; i++) {
        if (!InitWorkBmp(argv[i])) {
            printf("%s: not read\n", argv[i]);
            continue;
        }
        printf("%s: %d x %d, fit zoom %g (%g..%g), view %d x %d, canvas at (%d, %d)\n", argv[i],
               WorkBmp.srcW, WorkBmp.srcH, WorkBmp.zoom, WorkBmp.minZoom, WorkBmp.maxZoom,
               WorkBmp.viewW, WorkBmp.viewH, WorkBmp.originX, WorkBmp.originY);
    }
    ClearWorkBmp();
    return 0;
}
