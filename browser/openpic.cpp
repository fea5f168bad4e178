// Opening pictures: placing picture paths into the current tab's slots.
#include "browser/openpic.h"

#include <cstring>

#include "app/appstate.h"

int ParsePicArgs(HWND owner, int, const char* text) {
    if (!text || !text[0]) return 0;
    PicList list = {};
    const char* p = text;
    for (int n = 0; n < kSlotCount; n++) {
        while (*p == ' ') p++;
        if (!*p) break;
        const char* end;
        const char* from = p;
        if (*p == '"') {
            from = ++p;
            end = strchr(p, '"');
            if (!end) end = p + strlen(p);
        } else {
            end = strchr(p, ' ');
            if (!end) end = p + strlen(p);
        }
        size_t len = size_t(end - from);
        if (len > MAX_PATH - 1) len = MAX_PATH - 1;
        memcpy(list[n], from, len);
        if (!*end) break;
        // The blank after the path, or the character after its closing quote.
        p = end + 1;
    }
    return AddPicFiles(owner, list);
}

int AddPicFiles(HWND, PicList list) {
    const int tab = g_app.CurTab;
    int n = g_app.SelSlot[tab];
    for (int i = 0; i < kPicListLen && n < kSlotCount && list[i][0]; i++, n++)
        memcpy(g_app.TabSlots[tab][n], list[i], MAX_PATH);
    return 1;
}
