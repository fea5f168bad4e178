// Dialog templates: the dialogs' sizes and controls in dialog units of their font, as the
// windows were laid out. The window system converts them to pixels.
#pragma once

#include <cstdint>

struct DlgItemTempl {
    int id;
    const char* cls;   // "STATIC", "EDIT", ...
    const char* text;  // SS_BITMAP controls: the bitmap's resource number
    int x, y, cx, cy;
    uint32_t style;  // besides WS_CHILD
};

struct DlgTempl {
    int num;
    int pointSize;  // the font, IPA P Gothic at this size
    int cx, cy;
    uint32_t style;
    const DlgItemTempl* items;
    int count;
};

// The template of that resource number, or none.
const DlgTempl* FindDlgTempl(int num);

// Test seam: makes a template of the test's own known under its number (none: forget them).
void PlatAddDlgTempl(const DlgTempl* templ);
