// Brightness of the work image: the adjusted picture rebuilt from the untouched source.
#pragma once

// Rebuilds the adjusted picture from the source at brightness b (-1 black ... 0 as read ... 1
// white) and the view from it. 1 when rebuilt; 0 when nothing is loaded, b lies outside
// [-1, 1], or a surface or buffer could not be had.
int BrtWorkBmp(float b);
