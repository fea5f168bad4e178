// Picking, dragging, turning and mirroring stamps.
#include <cstring>

#include "image/stamp.h"
#include "image/workbmp.h"

int HitStmp(int x, int y) {
    for (int i = g_stmp.count - 1; i >= 0; i--) {
        const StmpInfo& s = g_stmp.items[i];
        // A quarter-turned stamp keeps its centre and swaps its sides.
        const bool odd = s.rot & 1;
        const int left = odd ? s.x + s.width / 2 - s.height / 2 : s.x;
        const int top = odd ? s.y + s.height / 2 - s.width / 2 : s.y;
        const int w = odd ? s.height : s.width, h = odd ? s.width : s.height;
        if (x - left >= 0 && x - left < w && y - top >= 0 && y - top < h) return i;
    }
    return -1;
}

void TopStmp(int index) {
    if (index < 0 || index >= g_stmp.count) return;
    const StmpInfo hit = g_stmp.items[index];
    memmove(g_stmp.items + index, g_stmp.items + index + 1,
            sizeof(StmpInfo) * size_t(g_stmp.count - 1 - index));
    g_stmp.items[g_stmp.count - 1] = hit;
}

// The unturned width and height bound the centre, also for turned stamps.
void MoveStmp(int x, int y) {
    if (g_stmp.count == 0) return;
    StmpInfo& s = g_stmp.items[g_stmp.count - 1];
    if (x < -(s.width / 2)) x = -(s.width / 2);
    if (x > kCanvasW - s.width / 2) x = kCanvasW - s.width / 2;
    if (y < -(s.height / 2)) y = -(s.height / 2);
    if (y > kCanvasH - s.height / 2) y = kCanvasH - s.height / 2;
    s.x = x;
    s.y = y;
}

void RotStmp() {
    if (g_stmp.count == 0) return;
    StmpInfo& s = g_stmp.items[g_stmp.count - 1];
    s.rot = (s.rot + 3) % 4;
}

void MirStmp() {
    if (g_stmp.count == 0) return;
    StmpInfo& s = g_stmp.items[g_stmp.count - 1];
    if (s.rot & 1) s.rot = (s.rot + 2) % 4;
    s.mirror = !s.mirror;
}
