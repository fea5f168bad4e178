// Hot spots of the cursor resources (res/cur/<num>.png, 32 x 32): the point of the cursor that
// lies on the mouse position.
#pragma once

struct CurHotSpot {
    int num;
    int x, y;
};

inline constexpr CurHotSpot kCurHotSpots[] = {
    {204, 16, 16},  // closed, grabbing hand: the middle of the fist
    {205, 16, 16},  // open hand: the middle of the palm
};
