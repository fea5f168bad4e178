// StretchRotBlt: every picture on the canvas is drawn through here.
#include <cstdlib>

#include "image/stretchrot.h"

namespace {

// A memory surface with a picture selected, released together.
struct ScratchDC {
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    ~ScratchDC() {
        if (!dc) return;
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bmp);
    }
};

int MakeScratch(HDC like, int w, int h, ScratchDC* s) {
    s->dc = CreateCompatibleDC(like);
    if (!s->dc) return 0;
    s->bmp = CreateCompatibleBitmap(like, w, h);
    if (!s->bmp) return 0;
    s->old = SelectObject(s->dc, s->bmp);
    return 1;
}

// Top-down 24-bit rows, padded to 4 bytes.
int Stride24(int w) {
    return ((3 * w + 3) / 4) * 4;
}

// Where source pixel (r, c) lands: output row = r0 + rr*r + rc*c, column = c0 + cr*r + cc*c.
// Mirroring comes first, then the turn.
struct Placement {
    int r0, rr, rc, c0, cr, cc;
};

Placement PlaceRot(int rot, int mirror, int dw, int dh) {
    switch (rot * 2 + (mirror ? 1 : 0)) {
        case 0: return {0, 1, 0, 0, 0, 1};              // (r, c)
        case 1: return {0, 1, 0, dw - 1, 0, -1};        // (r, dw-1-c)
        case 2: return {0, 0, 1, dh - 1, -1, 0};        // (c, dh-1-r)
        case 3: return {dw - 1, 0, -1, dh - 1, -1, 0};  // (dw-1-c, dh-1-r)
        case 4: return {dh - 1, -1, 0, dw - 1, 0, -1};  // (dh-1-r, dw-1-c)
        case 5: return {dh - 1, -1, 0, 0, 0, 1};        // (dh-1-r, c)
        case 6: return {dw - 1, 0, -1, 0, 1, 0};        // (dw-1-c, r)
        default: return {0, 0, 1, 0, 1, 0};             // (c, r)
    }
}

// Steps 4 to 7 of StretchRotBlt, on buffers the caller owns: `in` holds dh rows of the dw-wide
// resampled picture, `out` the output's rows, both 24-bit. 1 when the output reached dest.
int PlaceRows(HDC dest, int X, int Y, const ScratchDC& scratch, int dw, int dh, int rot, int mirror,
              int keyed, int blend, BYTE* in, BYTE* out) {
    const bool odd = rot & 1;
    const int ow = odd ? dh : dw, oh = odd ? dw : dh;
    const int ss = Stride24(dw), os = Stride24(ow);
    // 4. The resampled pixels as 24-bit rows.
    BITMAPINFO inInfo = TopDownInfo(dw, dh, 24), outInfo = TopDownInfo(ow, oh, 24);
    if (GetDIBits(scratch.dc, scratch.bmp, 0, dh, in, &inInfo, DIB_RGB_COLORS) != dh) return 0;
    // 5. Keyed and blended drawing start from what dest shows there.
    ScratchDC output;
    if (!MakeScratch(dest, ow, oh, &output)) return 0;
    if (keyed || blend) {
        BitBlt(output.dc, 0, 0, ow, oh, dest, X, Y, SRCCOPY);
        if (GetDIBits(output.dc, output.bmp, 0, oh, out, &outInfo, DIB_RGB_COLORS) != oh) return 0;
    }
    // 6. Every source pixel to its place, skipping the key colour, blending when asked.
    const BYTE k0 = in[0], k1 = in[1], k2 = in[2];
    const Placement p = PlaceRot(rot, mirror, dw, dh);
    const ptrdiff_t step = ptrdiff_t(p.rc) * os + ptrdiff_t(p.cc) * 3;
    for (int r = 0; r < dh; r++) {
        const BYTE* s = in + size_t(r) * ss;
        BYTE* o = out + ptrdiff_t(p.r0 + p.rr * r) * os + ptrdiff_t(p.c0 + p.cr * r) * 3;
        for (int c = 0; c < dw; c++, s += 3, o += step) {
            if (keyed && s[0] == k0 && s[1] == k1 && s[2] == k2) continue;
            if (blend) {
                o[0] = BYTE((o[0] + s[0]) / 2);
                o[1] = BYTE((o[1] + s[1]) / 2);
                o[2] = BYTE((o[2] + s[2]) / 2);
            } else {
                o[0] = s[0];
                o[1] = s[1];
                o[2] = s[2];
            }
        }
    }
    // 7. Into a picture of the output size, and onto dest.
    if (SetDIBits(output.dc, output.bmp, 0, oh, out, &outInfo, DIB_RGB_COLORS) != oh) return 0;
    return BitBlt(dest, X, Y, ow, oh, output.dc, 0, 0, SRCCOPY);
}

}  // namespace

int StretchRotBlt(HDC dest, int x, int y, int dw, int dh, HDC src, int sx, int sy, int sw, int sh,
                  int rot, int mirror, int keyed, int centred, int blend) {
    if (dw <= 0 || dh <= 0 || rot < 0 || rot > 3) return 0;
    // 1. Resample into a scratch picture.
    ScratchDC scratch;
    if (!MakeScratch(dest, dw, dh, &scratch)) return 0;
    SetStretchBltMode(scratch.dc, HALFTONE);
    SetBrushOrgEx(scratch.dc, 0, 0, nullptr);
    if (!StretchBlt(scratch.dc, 0, 0, dw, dh, src, sx, sy, sw, sh, SRCCOPY)) return 0;
    // 2. Nothing to turn, mirror, key or blend: straight copy.
    if (rot == 0 && !mirror && !keyed && !blend)
        return BitBlt(dest, x, y, dw, dh, scratch.dc, 0, 0, SRCCOPY);

    // 3. Placement: an odd turn swaps the sides, and when centred keeps the centre.
    const bool odd = rot & 1;
    const int ow = odd ? dh : dw, oh = odd ? dw : dh;
    int X = x, Y = y;
    if (odd && centred) {
        X = dw / 2 + x - dh / 2;
        Y = dh / 2 + y - dw / 2;
    }
    // The row buffers: callers are window procedures, so running out of memory must fail the
    // call, not throw through them.
    BYTE* in = (BYTE*)malloc(size_t(Stride24(dw)) * dh);
    BYTE* out = (BYTE*)malloc(size_t(Stride24(ow)) * oh);
    const int ok =
        in && out && PlaceRows(dest, X, Y, scratch, dw, dh, rot, mirror, keyed, blend, in, out);
    free(in);
    free(out);
    return ok;
}
