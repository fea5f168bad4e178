// The file dialogs: results in the original's layout, answered through the modal hook, and once
// through Qt's real dialog.
#include "platform/comdlg/commdlg.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <cstring>
#include <string>
#include <vector>

#include "platform/user/modal.h"
#include "platform/user/msgbox.h"
#include "support/testutil.h"

namespace {

// The program's open filter: display texts that hold parentheses, patterns with a trailing ';'.
const char kPicFilter[] =
    "すべて(*.bmp,*.jpg,*.jpeg*.gif,*.png)\0*.bmp;*.jpg;*.jpeg;*.gif;*.png\0"
    "ＢＭＰ(*.bmp)\0*.bmp;\0ＪＰＧ(*.jpg,*.jpeg)\0*.jpeg;*.jpg;\0ＧＩＦ(*.gif)\0*.gif;\0"
    "ＰＮＧ(*.png)\0*.png;\0";

// One answer of the hook: to a file dialog, the files chosen.
struct Step {
    int answer;
    std::vector<std::string> files;
};

// What the hook was shown; the event's texts live only during the call, so they are copied.
struct Heard {
    int kind;
    HWND owner;
    std::string caption, text;
    UINT type;
    const char* filter;
    const char* defExt;
    BOOL ownerOn;
};

// Answers every modal window with the next step of a script; past its end, with IDCANCEL and a
// failure, so that a dialog that asks once too often cannot run for ever.
struct FileDlgTest : ::testing::Test {
    std::vector<Step> steps;
    size_t next = 0;
    std::vector<Heard> heard;
    char buf[260] = {};
    OPENFILENAMEA ofn = {};

    void SetUp() override {
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFile = buf;
        ofn.nMaxFile = sizeof buf;
        SetModalHook([this](const ModalEvent* ev) { return Answer(ev); });
    }
    void TearDown() override { SetModalHook(nullptr); }

    int Answer(const ModalEvent* ev) {
        heard.push_back({ev->kind, ev->owner, ev->caption ? ev->caption : "",
                         ev->text ? ev->text : "", ev->type, ev->filter, ev->defExt,
                         IsWindowEnabled(ev->owner)});
        if (next >= steps.size()) {
            ADD_FAILURE() << "asked once too often";
            return IDCANCEL;
        }
        const Step& step = steps[next++];
        if (ev->files) *ev->files = step.files;
        return step.answer;
    }

    void Script(std::vector<Step> s) {
        steps = std::move(s);
        next = 0;
        heard.clear();
        memset(buf, 0x55, sizeof buf);
    }

    std::vector<int> HeardKinds() const {
        std::vector<int> kinds;
        for (const Heard& h : heard) kinds.push_back(h.kind);
        return kinds;
    }
};

// The bytes of the result up to and with the empty text that ends it.
std::string TakeResult(const char* buf, size_t size) {
    size_t n = 0;
    while (n + 1 < size && (buf[n] || buf[n + 1])) ++n;
    return std::string(buf, n + 2);
}

TEST_F(FileDlgTest, SeveralFilesGiveTheFolderThenTheNames) {
    static const struct {
        const char* name;
        std::vector<std::string> files;
        std::string result;
        WORD offset;
    } rows[] = {
        {"three in one folder, in the dialog's order",
         {"/p/q/c.png", "/p/q/a.jpg", "/p/q/b.bmp"},
         std::string("/p/q\0c.png\0a.jpg\0b.bmp\0\0", 24),
         5},
        {"two in the root", {"/a.jpg", "/b.jpg"}, std::string("/\0a.jpg\0b.jpg\0\0", 15), 2},
    };
    ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST;
    ofn.lpstrFilter = kPicFilter;
    ofn.lpstrTitle = "画像ファイルを開く";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Script({{IDOK, row.files}});
        ASSERT_TRUE(GetOpenFileNameA(&ofn));
        EXPECT_EQ(TakeResult(buf, sizeof buf), row.result);
        EXPECT_EQ(ofn.nFileOffset, row.offset);
        EXPECT_EQ(buf[ofn.nFileOffset - 1], 0);
        ASSERT_EQ(heard.size(), 1u);
        EXPECT_EQ(heard[0].kind, MODAL_OPENFILE);
        EXPECT_EQ(heard[0].caption, "画像ファイルを開く");
        EXPECT_EQ(heard[0].type, ofn.Flags);
        EXPECT_EQ(heard[0].filter, kPicFilter);
    }
}

TEST_F(FileDlgTest, OneFileGivesItsFullPath) {
    static const struct {
        const char* name;
        DWORD flags;
        std::vector<std::string> files;
        WORD offset, ext;
    } rows[] = {
        {"with several allowed", OFN_ALLOWMULTISELECT | OFN_EXPLORER, {"/p/q/a.jpg"}, 5, 7},
        {"without an extension", OFN_EXPLORER, {"/p/q/noext"}, 5, 0},
        {"a dot in the folder only", OFN_EXPLORER, {"/p.d/x"}, 5, 0},
        {"a trailing dot: the extension is empty", OFN_EXPLORER, {"/p/a."}, 3, 5},
        {"in the root", OFN_EXPLORER, {"/a.jpg"}, 1, 3},
        {"two given, one allowed", OFN_EXPLORER, {"/p/a.jpg", "/p/b.jpg"}, 3, 5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ofn.Flags = row.flags;
        Script({{IDOK, row.files}});
        ASSERT_TRUE(GetOpenFileNameA(&ofn));
        EXPECT_EQ(TakeResult(buf, sizeof buf), row.files[0] + std::string("\0\0", 2));
        EXPECT_EQ(ofn.nFileOffset, row.offset);
        EXPECT_EQ(ofn.nFileExtension, row.ext);
        EXPECT_NE(buf[ofn.nFileOffset - 1], 0);
    }
}

// The result must fit nMaxFile bytes with both closing NULs; else the bytes needed come back in
// the first two bytes, low byte first.
TEST_F(FileDlgTest, TooSmallBufferTellsTheSizeNeeded) {
    const std::string longName = "/p/" + std::string(300, 'n') + ".jpg";
    static char big[400];
    const struct {
        const char* name;
        std::vector<std::string> files;
        DWORD maxFile;
        BOOL ok;
        WORD need;
    } rows[] = {
        {"three files, one byte short", {"/p/q/a.jpg", "/p/q/b.bmp", "/p/q/c.png"}, 23, FALSE, 24},
        {"three files, exactly", {"/p/q/a.jpg", "/p/q/b.bmp", "/p/q/c.png"}, 24, TRUE, 0},
        {"one file, one byte short", {"/p/q/a.jpg"}, 11, FALSE, 12},
        {"one file, exactly", {"/p/q/a.jpg"}, 12, TRUE, 0},
        {"a need above 255", {longName}, 300, FALSE, 309},
    };
    ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    ofn.lpstrFile = big;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ofn.nMaxFile = row.maxFile;
        Script({{IDOK, row.files}});
        memset(big, 0x55, sizeof big);
        EXPECT_EQ(GetOpenFileNameA(&ofn), row.ok);
        if (row.ok) {
            EXPECT_EQ(CommDlgExtendedError(), 0u);
            EXPECT_EQ(big[row.maxFile - 1], 0);
            EXPECT_EQ(big[row.maxFile], 0x55);  // nothing past the buffer
        } else {
            EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
            EXPECT_EQ((unsigned char)big[0] | (unsigned char)big[1] << 8, row.need);
        }
    }
}

// A cancel leaves extended error 0, also right after a failure that set it; IDOK without a file
// (a hook that answers every window alike) is a cancel too.
TEST_F(FileDlgTest, CancelGivesFalseAndNoError) {
    static const struct {
        const char* name;
        Step step;
    } rows[] = {
        {"cancelled", {IDCANCEL, {"/p/a.jpg"}}},
        {"OK without a file", {IDOK, {}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ofn.nMaxFile = 2;
        Script({{IDOK, {"/p/a.jpg"}}});
        ASSERT_FALSE(GetOpenFileNameA(&ofn));
        ASSERT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
        ofn.nMaxFile = sizeof buf;
        Script({row.step});
        EXPECT_FALSE(GetOpenFileNameA(&ofn));
        EXPECT_EQ(CommDlgExtendedError(), 0u);
        Script({row.step});
        EXPECT_FALSE(GetSaveFileNameA(&ofn));
        EXPECT_EQ(CommDlgExtendedError(), 0u);
    }
}

TEST_F(FileDlgTest, SaveAddsTheDefaultExtension) {
    const std::string here = QDir::currentPath().toStdString();
    const struct {
        const char* name;
        const char* initialDir;
        const char* defExt;
        const char* typed;
        std::string path;
        bool extDiffers;
    } rows[] = {
        {"no extension typed", "/d", "bmp", "photo", "/d/photo.bmp", false},
        {"another extension kept", "/d", "bmp", "photo.jpg", "/d/photo.jpg", true},
        {"same extension in capitals", "/d", "bmp", "photo.BMP", "/d/photo.BMP", false},
        {"dot in the folder only", "/d", "bmp", "a.b/c", "/d/a.b/c.bmp", false},
        {"trailing dot: no extension added", "/d/", "bmp", "photo.", "/d/photo.", true},
        {"first three characters only", "/d", "jpeg", "x", "/d/x.jpe", false},
        {"no default extension", "/d", nullptr, "x", "/d/x", false},
        {"full path typed", "/d", "bmp", "/e/x", "/e/x.bmp", false},
        {"current folder without an initial one", nullptr, "bmp", "x", here + "/x.bmp", false},
    };
    ofn.lpstrTitle = "画像ファイルを保存";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ofn.lpstrInitialDir = row.initialDir;
        ofn.lpstrDefExt = row.defExt;
        ofn.Flags =
            OFN_OVERWRITEPROMPT | OFN_EXPLORER | (row.extDiffers ? 0 : OFN_EXTENSIONDIFFERENT);
        Script({{IDOK, {row.typed}}});
        ASSERT_TRUE(GetSaveFileNameA(&ofn));
        EXPECT_EQ(TakeResult(buf, sizeof buf), row.path + std::string("\0\0", 2));
        EXPECT_EQ((ofn.Flags & OFN_EXTENSIONDIFFERENT) != 0, row.extDiffers);
        ASSERT_EQ(heard.size(), 1u);
        EXPECT_EQ(heard[0].kind, MODAL_SAVEFILE);
        EXPECT_EQ(heard[0].caption, "画像ファイルを保存");
        EXPECT_EQ(heard[0].defExt, row.defExt);
    }
}

// With a default extension asked for, a filter whose first pattern is "*.ext" gives its own.
TEST_F(FileDlgTest, SaveTakesTheFiltersExtension) {
    static const char kSaveFilter[] =
        "ＢＭＰ(*.bmp)\0*.bmp\0ＪＰＧ(*.jpg,*.jpeg)\0*.jpg;*.jpeg\0All\0*.*\0Some\0*.jp?\0";
    static const struct {
        const char* name;
        DWORD index;
        const char* defExt;
        const char* path;
    } rows[] = {
        {"first filter", 1, "bmp", "/d/x.bmp"},
        {"second filter: its first pattern", 2, "bmp", "/d/x.jpg"},
        {"wildcard extension: the default one", 3, "bmp", "/d/x.bmp"},
        {"wildcard in the extension", 4, "bmp", "/d/x.bmp"},
        {"no filter chosen", 0, "bmp", "/d/x.bmp"},
        {"no default extension: none from the filter either", 2, nullptr, "/d/x"},
    };
    ofn.lpstrFilter = kSaveFilter;
    ofn.lpstrInitialDir = "/d";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ofn.nFilterIndex = row.index;
        ofn.lpstrDefExt = row.defExt;
        Script({{IDOK, {"x"}}});
        ASSERT_TRUE(GetSaveFileNameA(&ofn));
        EXPECT_STREQ(buf, row.path);
    }
}

// A name in a folder that does not exist is refused in the dialog, which opens again.
TEST_F(FileDlgTest, SaveIntoAMissingFolderIsRefusedInTheDialog) {
    TempDir dir;
    BtnParent owner;
    ofn.hwndOwner = owner.wnd;
    ofn.lpstrInitialDir = dir.path.c_str();
    ofn.lpstrDefExt = "bmp";
    ofn.lpstrTitle = "画像ファイルを保存";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    Script({{IDOK, {"none/pic"}}, {IDOK, {}}, {IDOK, {"pic"}}});
    ASSERT_EQ(GetSaveFileNameA(&ofn), TRUE);
    EXPECT_STREQ(buf, dir.File("pic.bmp").c_str());
    EXPECT_EQ(HeardKinds(), (std::vector<int>{MODAL_SAVEFILE, MODAL_MSGBOX, MODAL_SAVEFILE}));
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[1].text,
              dir.File("none/pic.bmp") +
                  "\nパスが存在しません。\nパスが正しいかどうかを確認してください。");
    EXPECT_EQ(heard[1].caption, "画像ファイルを保存");
}

// An existing file is taken only after the question is answered Yes; No shows the dialog again.
TEST_F(FileDlgTest, SaveOverExistingFileAsksFirst) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.File("old.bmp"), {1}));
    static const struct {
        const char* name;
        DWORD flags;
        std::vector<Step> steps;
        BOOL ok;
        const char* taken;
        std::vector<int> kinds;
    } rows[] = {
        {"new name: no question",
         OFN_OVERWRITEPROMPT,
         {{IDOK, {"new"}}},
         TRUE,
         "new.bmp",
         {MODAL_SAVEFILE}},
        {"Yes replaces",
         OFN_OVERWRITEPROMPT,
         {{IDOK, {"old"}}, {IDYES, {}}},
         TRUE,
         "old.bmp",
         {MODAL_SAVEFILE, MODAL_MSGBOX}},
        {"No asks again, then another name",
         OFN_OVERWRITEPROMPT,
         {{IDOK, {"old"}}, {IDNO, {}}, {IDOK, {"other.bmp"}}},
         TRUE,
         "other.bmp",
         {MODAL_SAVEFILE, MODAL_MSGBOX, MODAL_SAVEFILE}},
        {"No asks again, then cancel",
         OFN_OVERWRITEPROMPT,
         {{IDOK, {"old"}}, {IDNO, {}}, {IDCANCEL, {}}},
         FALSE,
         nullptr,
         {MODAL_SAVEFILE, MODAL_MSGBOX, MODAL_SAVEFILE}},
        {"a hook answering every window alike",
         OFN_OVERWRITEPROMPT,
         {{IDOK, {"old"}}, {IDOK, {}}},
         TRUE,
         "old.bmp",
         {MODAL_SAVEFILE, MODAL_MSGBOX}},
        {"no question asked for", 0, {{IDOK, {"old"}}}, TRUE, "old.bmp", {MODAL_SAVEFILE}},
    };
    BtnParent owner;
    ofn.hwndOwner = owner.wnd;
    ofn.lpstrInitialDir = dir.path.c_str();
    ofn.lpstrDefExt = "bmp";
    ofn.lpstrTitle = "画像ファイルを保存";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ofn.Flags = row.flags;
        Script(row.steps);
        ASSERT_EQ(GetSaveFileNameA(&ofn), row.ok);
        if (row.taken) {
            EXPECT_STREQ(buf, dir.File(row.taken).c_str());
        }
        EXPECT_EQ(HeardKinds(), row.kinds);
        for (const Heard& h : heard) {
            EXPECT_EQ(h.owner, owner.wnd);
            EXPECT_FALSE(h.ownerOn);
            if (h.kind != MODAL_MSGBOX) continue;
            EXPECT_EQ(h.caption, "画像ファイルを保存");
            EXPECT_EQ(h.text, "old.bmp は既に存在します。\n上書きしますか?");
            EXPECT_EQ(h.type, MB_YESNO | MB_ICONWARNING);
        }
        EXPECT_TRUE(IsWindowEnabled(owner.wnd));
    }
}

TEST(FileDlgFilterTest, PairsBecomeQtNameFilters) {
    static const struct {
        const char* name;
        const char* filter;
        std::vector<std::string> want;
    } rows[] = {
        {"display with parentheses, trailing ';'",
         "ＢＭＰ(*.bmp)\0*.bmp;\0ＪＰＧ(*.jpg,*.jpeg)\0*.jpeg;*.jpg;\0",
         {"ＢＭＰ(*.bmp) (*.bmp)", "ＪＰＧ(*.jpg,*.jpeg) (*.jpeg *.jpg)"}},
        {"plain pairs", "Text\0*.txt\0All\0*.*\0", {"Text (*.txt)", "All (*.*)"}},
        {"display without patterns", "Odd\0\0", {"Odd ()"}},
        {"empty", "", {}},
        {"none", nullptr, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(MakeNameFilters(row.filter), row.want);
    }
}

// Qt's own dialog runs under the offscreen platform: over the owner, which takes no input
// meanwhile, with the title and the filter asked for, and its choice comes back in the layout.
TEST(FileDlgRealTest, QtDialogPicksAFile) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.File("a.bmp"), {1}));
    ASSERT_TRUE(WriteFileBytes(dir.File("b.jpg"), {1}));
    BtnParent owner;
    char buf[260] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner.wnd;
    ofn.lpstrFilter = kPicFilter;
    ofn.nFilterIndex = 2;
    ofn.lpstrFile = buf;
    ofn.nMaxFile = sizeof buf;
    ofn.lpstrInitialDir = dir.path.c_str();
    ofn.lpstrTitle = "画像ファイルを開く";
    ofn.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    struct {
        bool found = false;
        std::string title, filter;
        bool hasParent = false;
        BOOL ownerOn = TRUE;
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
    } seen;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dlg = qobject_cast<QFileDialog*>(w);
            if (!dlg || !dlg->isVisible()) continue;
            seen = {true,
                    dlg->windowTitle().toStdString(),
                    dlg->selectedNameFilter().toStdString(),
                    dlg->parentWidget() != nullptr,
                    IsWindowEnabled(owner.wnd),
                    dlg->fileMode()};
            dlg->selectNameFilter(QString::fromUtf8("ＪＰＧ(*.jpg,*.jpeg) (*.jpeg *.jpg)"));
            dlg->selectFile("a.bmp");
            static_cast<QDialog*>(dlg)->accept();  // QFileDialog's own is protected
        }
    });
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, "画像ファイルを開く");
    EXPECT_EQ(seen.filter, "ＢＭＰ(*.bmp)");  // as the original shows it
    EXPECT_TRUE(seen.hasParent);
    EXPECT_FALSE(seen.ownerOn);
    EXPECT_EQ(seen.mode, QFileDialog::ExistingFiles);
    EXPECT_EQ(TakeResult(buf, sizeof buf), dir.File("a.bmp") + std::string("\0\0", 2));
    EXPECT_EQ(ofn.nFileOffset, dir.path.size() + 1);
    EXPECT_EQ(ofn.nFilterIndex, 3u);  // the filter the user chose last
    EXPECT_TRUE(IsWindowEnabled(owner.wnd));
}

}  // namespace
