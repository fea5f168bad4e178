#include "res/dlgtempl.h"

#include <iterator>
#include <vector>

#include "platform/window.h"

namespace {

// The splash: one picture control showing skin 143 over the whole dialog.
const DlgItemTempl kSplashItems[] = {
    {-1, "STATIC", "143", 0, 0, 226, 255, SS_BITMAP | WS_VISIBLE},
};

// The message box: the left-aligned text.
const DlgItemTempl kMsgItems[] = {
    {1041, "STATIC", "", 44, 22, 111, 25, SS_LEFT | WS_VISIBLE},
};

const DlgTempl kTemplates[] = {
    {142, 9, 226, 255, WS_POPUP, kSplashItems, int(std::size(kSplashItems))},
    {144, 9, 153, 426, WS_POPUP, nullptr, 0},  // the preview: its close button is made at opening
    {148, 9, 135, 83, WS_POPUP, nullptr, 0},   // the stamp dialog: its buttons are made at opening
    {199, 10, 166, 99, WS_POPUP, kMsgItems, int(std::size(kMsgItems))},
};

std::vector<const DlgTempl*>& g_testTempls = *new std::vector<const DlgTempl*>;

}  // namespace

void PlatAddDlgTempl(const DlgTempl* templ) {
    if (templ)
        g_testTempls.push_back(templ);
    else
        g_testTempls.clear();
}

const DlgTempl* FindDlgTempl(int num) {
    for (const DlgTempl& t : kTemplates)
        if (t.num == num) return &t;
    for (const DlgTempl* t : g_testTempls)
        if (t->num == num) return t;
    return nullptr;
}
