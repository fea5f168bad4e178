// Turning a decoded photo upright for its EXIF orientation.
#include <utility>

#include "codec.h"

// How each orientation maps a pixel (x, y) of the upright picture to the stored one: first swap
// x and y (orientations 5..8 have width and height exchanged), then mirror across. The letter F
// as each orientation stores it:
//
//   1      2      3      4      5        6        7        8
//   FFFF   FFFF      F   F      FFFFF    F            F    FFFFF
//   F         F      F   F      F F      F F        F F      F F
//   FFF     FFF    FFF   FFF    F F      F F        F F      F F
//   F         F      F   F      F        FFFFF    FFFFF        F
//   F         F   FFFF   FFFF
struct OrientMap {
    bool swap;
    bool flipX;  // stored x counts from the right
    bool flipY;  // stored y counts from the bottom
};

static const OrientMap kOrientMaps[9] = {
    {false, false, false},                                             // unused
    {false, false, false}, {false, true, false}, {false, true, true},  // 1..3
    {false, false, true},  {true, false, false}, {true, false, true},  // 4..6
    {true, true, true},    {true, true, false},                        // 7..8
};

int OrientBmpBuf(BmpBuf* bmp, int orient) {
    if (orient <= 1 || orient > 8) return 1;
    const OrientMap& map = kOrientMaps[orient];
    BmpBuf out;
    if (!AllocBmpBuf(&out, map.swap ? bmp->height : bmp->width,
                     map.swap ? bmp->width : bmp->height))
        return 0;

    // The stored pixel for upright x = 0 of a row, and the byte step to the next x. Stored rows
    // are bottom-up, so a step down the picture is a step back by one stride.
    ptrdiff_t stepX = map.flipX ? -3 : 3;
    ptrdiff_t stepY = map.flipY ? (ptrdiff_t)bmp->stride : -(ptrdiff_t)bmp->stride;
    const uint8_t* origin = GetBmpRow(bmp, map.flipY ? bmp->height - 1 : 0) +
                            (map.flipX ? (size_t)(bmp->width - 1) * 3 : 0);
    ptrdiff_t stepAlong = map.swap ? stepY : stepX;  // upright x moves stored y when swapped
    ptrdiff_t stepDown = map.swap ? stepX : stepY;
    for (uint32_t y = 0; y < out.height; y++) {
        const uint8_t* src = origin + (ptrdiff_t)y * stepDown;
        uint8_t* dst = GetBmpRow(&out, y);
        for (uint32_t x = 0; x < out.width; x++, src += stepAlong, dst += 3) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
    }
    *bmp = std::move(out);
    return 1;
}
