// The compositor: resample, mirror, turn by quarter turns, skip a key colour, blend half.
#pragma once

#include "platform/gdi/gdi.h"

// Resamples (sx, sy, sw, sh) of src to dw x dh, mirrors it left-right when `mirror`, turns it by
// `rot` quarter turns clockwise, and draws it at (x, y) on dest: turned rectangles keep the
// centre of the unturned one when `centred`; `keyed` skips pixels of the resampled picture's
// top-left colour; `blend` averages with what dest shows. 1 on success, 0 when a scratch
// picture or a copy failed.
int StretchRotBlt(HDC dest, int x, int y, int dw, int dh, HDC src, int sx, int sy, int sw, int sh,
                  int rot, int mirror, int keyed, int centred, int blend);
