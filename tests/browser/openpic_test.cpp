// Opening pictures: placing paths into the photo slots, the open dialog's answer, the command
// line's split.
#include "browser/openpic.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "browser/browser_support.h"
#include "browser/thumbs.h"
#include "platform/comdlg/commdlg.h"
#include "platform/user/modal.h"

namespace {

std::vector<std::string> ListPaths(PicList list) {
    std::vector<std::string> out;
    for (int i = 0; i < kPicListLen && list[i][0]; i++) out.push_back(list[i]);
    return out;
}

// Paths are placed from the selected slot on; files that are not pictures give their slot to
// the next path; slot 9 is the last.
TEST(AddPicFiles, FillsFromTheSelectedSlot) {
    struct Case {
        const char* name;
        int sel;
        std::vector<std::string> files;  // "t" a text file, else a picture of that name
        std::vector<std::pair<int, std::string>> want;
    };
    const Case cases[] = {
        {"three from slot 4", 4, {"a", "b", "c"}, {{4, "a"}, {5, "b"}, {6, "c"}}},
        {"five from slot 8", 8, {"a", "b", "c", "d", "e"}, {{8, "a"}, {9, "b"}}},
        {"a text file between", 0, {"a", "t", "c"}, {{0, "a"}, {1, "c"}}},
        {"eleven from slot 0",
         0,
         {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"},
         {{0, "a"}, {9, "j"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BrowserEnv b;
        ASSERT_EQ(LoadThumImgList(b.parent, 0), 1);
        g_app.SelSlot[0] = c.sel;
        PicList list = {};
        int n = 0;
        for (const std::string& f : c.files) {
            const std::string path = f == "t" ? b.folder.File("t.txt") : b.folder.File(f + ".bmp");
            if (f == "t")
                ASSERT_TRUE(WriteFileBytes(path, {'t'}));
            else
                PutDotBmp(b.folder.path, f + ".bmp", 4, 3, 0xFF0000, 0xFF0000);
            strcpy(list[n++], path.c_str());
        }
        EXPECT_EQ(AddPicFiles(b.parent, list), 1);
        EXPECT_EQ(g_app.SelSlot[0], c.sel);
        int filled = 0;
        for (int k = 0; k < kSlotCount; k++)
            if (g_app.TabSlots[0][k][0]) filled++;
        const int wantFilled = c.want.back().first - c.want.front().first + 1;
        EXPECT_EQ(filled, wantFilled);
        for (const auto& [slot, name] : c.want)
            EXPECT_EQ(g_app.TabSlots[0][slot], b.folder.File(name + ".bmp")) << "slot " << slot;
        for (int k = 0; k < kSlotCount; k++) {
            const bool placed = g_app.TabSlots[0][k][0] != 0;
            EXPECT_EQ(ThumPx(g_app.imgLists[0], k, 35, 27), placed ? 0xFF0000u : 0xFFFFFFu)
                << "thumbnail " << k;
        }
    }
}

struct DialogCase {
    const char* name;
    std::vector<std::string> chosen;  // names in one folder, in the dialog's order; none: cancel
    std::vector<std::string> want;
};

// The dialog's answer: one path, or several names in one folder, at most eleven, the first
// moved to the end when it sorts after the second.
TEST(GetPicFileNames, TakesTheDialogsAnswer) {
    std::vector<std::string> twelve, eleven;
    for (int i = 0; i < 12; i++) twelve.push_back("p" + std::to_string(10 + i) + ".jpg");
    eleven.assign(twelve.begin(), twelve.begin() + 11);
    const DialogCase cases[] = {
        {"reordered", {"b.jpg", "a.jpg", "c.jpg"}, {"a.jpg", "c.jpg", "b.jpg"}},
        {"in order", {"a.jpg", "b.jpg", "c.jpg"}, {"a.jpg", "b.jpg", "c.jpg"}},
        {"two reordered", {"b.jpg", "a.jpg"}, {"a.jpg", "b.jpg"}},
        {"one", {"only.png"}, {"only.png"}},
        {"twelve", twelve, eleven},
        {"cancelled", {}, {}},
    };
    AppEnv env;
    TempDir dir;
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.name);
        ModalEvent seen{};
        std::string filter;
        SetModalHook([&](const ModalEvent* ev) {
            seen = *ev;
            seen.caption = nullptr;
            filter.clear();
            for (const std::string& f : MakeNameFilters(ev->filter)) filter += f + "|";
            EXPECT_STREQ(ev->caption, "画像ファイルを開く");
            if (c.chosen.empty()) return IDCANCEL;
            for (const std::string& name : c.chosen) ev->files->push_back(dir.File(name));
            return IDOK;
        });
        PicList list = {};
        EXPECT_EQ(GetPicFileNames(list), c.chosen.empty() ? 0 : 1);
        SetModalHook(nullptr);
        EXPECT_EQ(seen.kind, MODAL_OPENFILE);
        EXPECT_EQ(seen.type, OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST |
                                 OFN_PATHMUSTEXIST | OFN_HIDEREADONLY);
        EXPECT_EQ(filter,
                  "すべて(*.bmp,*.jpg,*.jpeg*.gif,*.png) (*.bmp *.jpg *.jpeg *.gif *.png)|"
                  "ＢＭＰ(*.bmp) (*.bmp)|ＪＰＧ(*.jpg,*.jpeg) (*.jpeg *.jpg)|ＧＩＦ(*.gif) (*.gif)|"
                  "ＰＮＧ(*.png) (*.png)|");
        std::vector<std::string> want;
        for (const std::string& name : c.want) want.push_back(dir.File(name));
        EXPECT_EQ(ListPaths(list), want);
    }
}

// Names that do not fit a slot with their folder are left out; with none left, nothing was
// chosen.
TEST(GetPicFileNames, PathsTooLongAreLeftOut) {
    AppEnv env;
    TempDir dir;
    const std::string longName = std::string(300, 'n') + ".jpg";
    for (const auto& names : {std::vector<std::string>{longName},
                              std::vector<std::string>{longName, "b.jpg", longName}}) {
        SetModalHook([&](const ModalEvent* ev) {
            for (const std::string& name : names) ev->files->push_back(dir.File(name));
            return IDOK;
        });
        PicList list = {};
        const int got = GetPicFileNames(list);
        SetModalHook(nullptr);
        if (names.size() == 1) {
            EXPECT_EQ(got, 0);
            EXPECT_EQ(ListPaths(list), std::vector<std::string>{});
        } else {
            EXPECT_EQ(got, 1);
            EXPECT_EQ(ListPaths(list), std::vector<std::string>{dir.File("b.jpg")});
        }
    }
}

TEST(SplitPicArgs, SplitsPathsAtBlanksAndQuotes) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> want;
    };
    std::string twelve;
    std::vector<std::string> ten;
    for (int i = 0; i < 12; i++) {
        twelve += "/p" + std::to_string(i) + " ";
        if (i < 10) ten.push_back("/p" + std::to_string(i));
    }
    const Case cases[] = {
        {"quoted with blanks, then plain",
         "\"/My Photos/a.jpg\" /d/b.bmp",
         {"/My Photos/a.jpg", "/d/b.bmp"}},
        {"blanks around", "   /a.bmp    /b.bmp  ", {"/a.bmp", "/b.bmp"}},
        {"closing quote missing", "/a.bmp \"/x y.bmp", {"/a.bmp", "/x y.bmp"}},
        {"the character after a closing quote skipped", "\"/a.bmp\"x/b.bmp", {"/a.bmp", "/b.bmp"}},
        {"closing quote last", "\"/a.bmp\"", {"/a.bmp"}},
        {"at most ten", twelve, ten},
        {"path longer than 259 bytes left out",
         "/" + std::string(300, 'p') + " /b.bmp",
         {"/b.bmp"}},
        {"259 bytes kept", "/" + std::string(258, 'p'), {"/" + std::string(258, 'p')}},
        {"blanks only", "   ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PicList list = {};
        EXPECT_EQ(SplitPicArgs(c.text.c_str(), list), int(c.want.size()));
        EXPECT_EQ(ListPaths(list), c.want);
    }
    EXPECT_EQ(ParsePicArgs(nullptr, 0, ""), 0);
}

// Only the exact path of a plain file counts: letter case matters and "*" matches nothing else.
TEST(FileExists, ExactPlainFilesOnly) {
    TempDir dir;
    PutDotBmp(dir.path, "A.bmp", 1, 1, 0, 0);
    ASSERT_EQ(mkfifo(dir.File("pipe.bmp").c_str(), 0600), 0);
    const struct {
        std::string path;
        bool exists;
    } cases[] = {
        {dir.File("A.bmp"), true},
        {dir.File("a.bmp"), false},
        {dir.File("*.bmp"), false},
        {dir.File("?.bmp"), false},
        {dir.path, false},
        {dir.File("pipe.bmp"), false},
        {dir.File("gone.bmp"), false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FileExists(c.path.c_str()), c.exists);
    }
}

}  // namespace
