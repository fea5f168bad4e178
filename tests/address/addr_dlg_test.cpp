// The address book dialog driven as a person would: ticks, the two closing buttons and what they
// hand back, sorting by the headers, new and delete, and editing a cell in place.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "address/addrdlg.h"
#include "address/address.h"
#include "app/appstate.h"
#include "app/folders.h"
#include "platform/controls/listview.h"
#include "platform/text/codepage.h"
#include "platform/user/modal.h"
#include "support/testutil.h"
#include "ui/appmsg.h"

namespace {

constexpr int kList = 1010;
constexpr int kNew = 127, kDel = 128, kCancel = 129, kDecide = 130;

std::string AdrFile() {
    return std::string(g_app.AppFolder) + kAdrName;
}

HWND ListOf(HWND dlg) {
    return GetDlgItem(dlg, kList);
}

std::string Cell(HWND dlg, int row, int col) {
    char buf[1024] = {};
    ListView_GetItemText(ListOf(dlg), row, col, buf, sizeof buf);
    return buf;
}

std::vector<std::string> Column(HWND dlg, int col) {
    std::vector<std::string> v;
    for (int i = 0; i < ListView_GetItemCount(ListOf(dlg)); i++) v.push_back(Cell(dlg, i, col));
    return v;
}

// The ticks of the rows, 1 for a ticked one.
std::vector<int> Ticks(HWND dlg) {
    std::vector<int> v;
    for (int i = 0; i < ListView_GetItemCount(ListOf(dlg)); i++)
        v.push_back(ListView_GetCheckState(ListOf(dlg), i) ? 1 : 0);
    return v;
}

void Press(HWND dlg, int id) {
    SendMessageA(dlg, WM_APP_BUTTON, WPARAM(id), 0);
}

// The middle of cell (row, col), or of the header of col when row is -1, in the dialog.
POINT CellPoint(HWND dlg, int row, int col) {
    RECT cell, list;
    HWND lv = ListOf(dlg);
    ListView_GetSubItemRect(lv, row < 0 ? 0 : row, col, LVIR_LABEL, &cell);
    if (row < 0) {
        const int h = cell.bottom - cell.top;
        cell.top -= h;
        cell.bottom -= h;
    }
    GetWindowRect(lv, &list);
    POINT at = {list.left, list.top};
    ScreenToClient(dlg, &at);
    return {at.x + (cell.left + cell.right) / 2, at.y + (cell.top + cell.bottom) / 2};
}

void ClickAt(HWND dlg, POINT p) {
    PlatMouseEvent(dlg, WM_LBUTTONDOWN, p.x, p.y);
    PlatMouseEvent(dlg, WM_LBUTTONUP, p.x, p.y);
}

void ClickHeader(HWND dlg, int col) {
    ClickAt(dlg, CellPoint(dlg, -1, col));
}

void DblClickCell(HWND dlg, int row, int col) {
    const POINT p = CellPoint(dlg, row, col);
    ClickAt(dlg, p);
    PlatMouseEvent(dlg, WM_LBUTTONDBLCLK, p.x, p.y);
    PlatMouseEvent(dlg, WM_LBUTTONUP, p.x, p.y);
}

// The sort directions as the program starts with them, read before any test clicks a header.
const std::vector<int> kStartSortUp(std::begin(g_adrSortUp), std::end(g_adrSortUp));

struct AdrDlgTest : testing::Test {
    AppEnv env;
    MsgRecorder rec;
    int result = -1;
    // Each test sorts as the first session of a fresh program would.
    void SetUp() override {
        FreeRecipList();
        std::copy(kStartSortUp.begin(), kStartSortUp.end(), g_adrSortUp);
    }
    void TearDown() override { FreeRecipList(); }
    void PutBook(const std::string& bytes) {
        ASSERT_TRUE(WriteFileBytes(AdrFile(), {bytes.begin(), bytes.end()}));
    }
    // Opens the dialog and runs `script` on it as soon as it shows. The script ends the dialog.
    void Run(const std::function<void(HWND)>& script) {
        int opened = 0;
        rec.others = [&](const ModalEvent* ev) {
            if (ev->kind == MODAL_DIALOG && ev->templ == 168) {
                opened++;
                script(ev->wnd);
            }
            return 0;
        };
        result = RunAddressDlg(nullptr);
        rec.others = nullptr;
        EXPECT_EQ(opened, 1);
        EXPECT_EQ(g_adrBook.count, 0) << "the book is released when the dialog closes";
    }
    std::string Recips() const { return g_recipList ? g_recipList : "<none>"; }
};

const char* const kFour = "0,Ann,a@x,1,Bob,,2,Cy,c@x,3,Di,d@x,-1,0";

TEST_F(AdrDlgTest, DecideHandsBackTheTickedAddresses) {
    const struct {
        const char* name;
        std::vector<int> ticks;
        std::string recips;
    } rows[] = {
        {"three in list order", {3, 0, 2}, "a@x,c@x,d@x"},
        {"an empty address adds nothing", {1, 2}, "c@x"},
        {"only an empty address: the empty list", {1}, ""},
        {"nothing ticked: no list", {}, "<none>"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PutBook(kFour);
        Run([&](HWND dlg) {
            EXPECT_EQ(Column(dlg, 1), (std::vector<std::string>{"Ann", "Bob", "Cy", "Di"}));
            EXPECT_EQ(Column(dlg, 0), (std::vector<std::string>(4, "  ")));
            for (int t : row.ticks) ListView_SetCheckState(ListOf(dlg), t, TRUE);
            Press(dlg, kDecide);
        });
        EXPECT_EQ(Recips(), row.recips);
        EXPECT_EQ(result, row.recips != "<none>");
        EXPECT_EQ(ReadFileText(AdrFile()), kFour);  // saved, ticks never stored
    }
}

// Cancel keeps the edits in the file, hands back nothing and drops an earlier list.
TEST_F(AdrDlgTest, CancelSavesEditsAndHandsBackNothing) {
    PutBook(kFour);
    g_recipList = strdup("old@x");
    Run([&](HWND dlg) {
        ListView_SetCheckState(ListOf(dlg), 0, TRUE);
        ListView_SetItemState(ListOf(dlg), 1, LVIS_SELECTED, LVIS_SELECTED);
        Press(dlg, kDel);
        Press(dlg, kNew);
        DblClickCell(dlg, 3, 2);
        PlatTypeText("e@x\n");
        Press(dlg, kCancel);
    });
    EXPECT_EQ(Recips(), "<none>");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFileText(AdrFile()), "0,Ann,a@x,1,Cy,c@x,2,Di,d@x,3,,e@x,-1,0");
}

// Enter and clicking elsewhere keep what was typed; Escape leaves the entry as it was. Japanese
// names go into the file as CP932.
TEST_F(AdrDlgTest, CellEditor) {
    PutBook(kFour);
    Run([&](HWND dlg) {
        DblClickCell(dlg, 0, 1);
        PlatTypeText("山田\n");
        DblClickCell(dlg, 1, 2);
        PlatTypeText("b@x");
        PlatPressKey(VK_ESCAPE);
        DblClickCell(dlg, 2, 1);
        PlatTypeText("ミカ");
        PlatActivate(g_cellEdit.editor, FALSE);  // the user clicks elsewhere
        DblClickCell(dlg, 3, 0);                 // the tick column opens no editor
        EXPECT_EQ(g_cellEdit.editor, nullptr);
        EXPECT_EQ(Column(dlg, 1), (std::vector<std::string>{"山田", "Bob", "ミカ", "Di"}));
        Press(dlg, kDecide);
    });
    // ミ is 0x83 0x7E: its trail byte is escaped like a tilde.
    std::string head, tail;
    ASSERT_EQ(Utf8ToSjis("0,山田,a@x,1,Bob,,2,", &head), 1);
    ASSERT_EQ(Utf8ToSjis("カ,c@x,3,Di,d@x,-1,0", &tail), 1);
    EXPECT_EQ(ReadFileText(AdrFile()), head + "\x83~~" + tail);
}

// The entries in the file as "name address", sorted, whatever their order in it.
std::vector<std::string> FileEntries() {
    std::vector<std::string> v;
    EXPECT_EQ(ReadAddress(), 1);
    for (int i = 0; i < g_adrBook.count; i++)
        v.push_back(std::string(g_adrBook.items[i]->name) + " " + g_adrBook.items[i]->address);
    FreeAddress();
    std::sort(v.begin(), v.end());
    return v;
}

// A click on a button or a header while the editor is open ends the editor first: its text goes
// into the entry it was opened on. The window system takes the editor's activation away only
// after the click has been handled, and the test keeps that order.
TEST_F(AdrDlgTest, ClicksEndTheCellEditorFirst) {
    const std::vector<std::string> all = {"Ann a@x", "Bob b@x", "Cy c@x", "Di d@x"};
    const struct {
        const char* name;
        std::function<void(HWND)> click;
        bool closes;  // the click closes the dialog
        std::vector<std::string> book;
        std::string recips;
    } rows[] = {
        {"delete the edited entry",
         [](HWND dlg) { Press(dlg, kDel); },
         false,
         {"Ann a@x", "Cy c@x", "Di d@x"},
         "<none>"},
        {"new", [](HWND dlg) { Press(dlg, kNew); }, false, all, "<none>"},
        {"sort by address", [](HWND dlg) { ClickHeader(dlg, 2); }, false, all, "<none>"},
        {"decide with the edited entry ticked",
         [](HWND dlg) {
             ListView_SetCheckState(ListOf(dlg), 0, TRUE);
             ListView_SetCheckState(ListOf(dlg), 1, TRUE);
             Press(dlg, kDecide);
         },
         true, all, "a@x,b@x"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PutBook(kFour);
        Run([&](HWND dlg) {
            DblClickCell(dlg, 1, 2);
            PlatTypeText("b@x");
            HWND editor = g_cellEdit.editor;
            row.click(dlg);
            EXPECT_EQ(g_cellEdit.editor, nullptr);
            PlatActivate(editor, FALSE);
            if (!row.closes) Press(dlg, kCancel);
        });
        EXPECT_EQ(FileEntries(), row.book);
        EXPECT_EQ(Recips(), row.recips);
    }
}

// A name or address that is no CP932 text shows as an empty cell; opening the editor on it and
// leaving it without a change keeps the stored bytes.
TEST_F(AdrDlgTest, CellEditorKeepsBytesItCannotShow) {
    const std::string cut = std::string(254, 'n') + "\x82";  // a lead byte without its trail
    const std::string file = "0," + cut + ",a@x,1,Bob,b\xFF@x,-1,0";
    const struct {
        const char* name;
        int row, col;
        const char* typed;  // ending in "\n": Enter closes the editor, else a click elsewhere
        std::string saved;
    } rows[] = {
        {"a name cut through a double-byte character", 0, 1, "", file},
        {"an address with a byte CP932 lacks", 1, 2, "\n", file},
        {"typed over", 0, 1, "Ann\n", "0,Ann,a@x,1,Bob,b\xFF@x,-1,0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PutBook(file);
        Run([&](HWND dlg) {
            EXPECT_EQ(Cell(dlg, row.row, row.col), "");
            DblClickCell(dlg, row.row, row.col);
            PlatTypeText(row.typed);
            PlatActivate(g_cellEdit.editor, FALSE);
            Press(dlg, kCancel);
        });
        EXPECT_EQ(ReadFileText(AdrFile()), row.saved);
    }
}

// The first click on a header sorts ascending, 送信 putting the unticked entries first; each
// further click sorts the other way. The selected entry stays selected, the ticks go with their
// entries, and each column's direction carries over to the next opening.
TEST_F(AdrDlgTest, HeaderClicksSortBothWays) {
    PutBook("0,b,1@x,1,B,2@x,2,,3@x,3,a,4@x,-1,0");
    const std::vector<std::string> up = {"", "B", "a", "b"}, down = {"b", "a", "B", ""};
    Run([&](HWND dlg) {
        ListView_SetItemState(ListOf(dlg), 3, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ClickHeader(dlg, 1);
        EXPECT_EQ(Column(dlg, 1), up);
        const int sel = ListView_GetNextItem(ListOf(dlg), -1, LVNI_SELECTED);
        ASSERT_GE(sel, 0);
        EXPECT_EQ(Cell(dlg, sel, 1), "a");
        ClickHeader(dlg, 1);
        EXPECT_EQ(Column(dlg, 1), down);
        ClickHeader(dlg, 1);
        EXPECT_EQ(Column(dlg, 1), up);
        ListView_SetCheckState(ListOf(dlg), 0, TRUE);
        ListView_SetCheckState(ListOf(dlg), 3, TRUE);
        ClickHeader(dlg, 0);
        EXPECT_EQ(Column(dlg, 1), (std::vector<std::string>{"B", "a", "", "b"}));
        EXPECT_EQ(Ticks(dlg), (std::vector<int>{0, 0, 1, 1}));
        Press(dlg, kCancel);
    });
    // Three clicks on 名前 and one on 送信 turned both.
    Run([&](HWND dlg) {
        ClickHeader(dlg, 1);
        EXPECT_EQ(Column(dlg, 1), down);
        ListView_SetCheckState(ListOf(dlg), 2, TRUE);
        ClickHeader(dlg, 0);
        EXPECT_EQ(Column(dlg, 1), (std::vector<std::string>{"B", "b", "a", ""}));
        EXPECT_EQ(Ticks(dlg), (std::vector<int>{1, 0, 0, 0}));
        ClickHeader(dlg, 2);  // a column of its own direction
        EXPECT_EQ(Column(dlg, 2), (std::vector<std::string>{"1@x", "2@x", "3@x", "4@x"}));
        Press(dlg, kCancel);
    });
}

// What is at a path: a FIFO, a link and its target, or a file, told by its size and bytes.
std::string PathState(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return "nothing";
    if (S_ISFIFO(st.st_mode)) return "FIFO";
    if (S_ISLNK(st.st_mode)) {
        char to[MAX_PATH] = {};
        return readlink(path.c_str(), to, sizeof to - 1) < 0 ? "link"
                                                             : "link to " + std::string(to);
    }
    const std::string bytes = ReadFileText(path);
    return "file of " + std::to_string(bytes.size()) + " bytes, hash " +
           std::to_string(std::hash<std::string>{}(bytes));
}

// When the book could not be loaded, no close writes over what is there, whatever was done in
// the dialog meanwhile.
TEST_F(AdrDlgTest, FailedLoadLeavesTheFileAlone) {
    const struct {
        const char* name;
        std::function<bool(const std::string&)> make;  // puts it at the path
        int close;
    } rows[] = {
        {"a FIFO, closed by cancel",
         [](const std::string& p) { return mkfifo(p.c_str(), 0600) == 0; }, kCancel},
        {"over 4 MiB, closed by decide",
         [](const std::string& p) {
             const std::string big = "0,Ann,a@x," + std::string(4 * 1024 * 1024, ' ');
             return WriteFileBytes(p, {big.begin(), big.end()});
         },
         kDecide},
        {"a link to itself, closed by cancel",
         [](const std::string& p) { return symlink(kAdrName, p.c_str()) == 0; }, kCancel},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        remove(AdrFile().c_str());
        ASSERT_TRUE(row.make(AdrFile()));
        const std::string before = PathState(AdrFile());
        rec.msgs.clear();
        Run([&](HWND dlg) {
            EXPECT_EQ(ListView_GetItemCount(ListOf(dlg)), 0);
            Press(dlg, kNew);
            DblClickCell(dlg, 0, 2);
            PlatTypeText("e@x\n");
            Press(dlg, row.close);
        });
        EXPECT_EQ(PathState(AdrFile()), before);
        std::vector<std::string> told;
        for (const auto& m : rec.msgs) told.push_back(m.text);
        EXPECT_EQ(told, (std::vector<std::string>{"ファイル読込みエラー"}));
    }
}

TEST_F(AdrDlgTest, NewAndDeleteRefusals) {
    std::string full;
    for (int i = 0; i < kAdrMax; i++) full += std::to_string(i) + ",n,a,";
    PutBook(full + "-1,0");
    Run([&](HWND dlg) {
        Press(dlg, kDel);
        Press(dlg, kNew);
        EXPECT_EQ(ListView_GetItemCount(ListOf(dlg)), kAdrMax);
        ListView_SetItemState(ListOf(dlg), 0, LVIS_SELECTED, LVIS_SELECTED);
        Press(dlg, kDel);
        Press(dlg, kNew);
        EXPECT_EQ(ListView_GetItemCount(ListOf(dlg)), kAdrMax);
        EXPECT_EQ(Cell(dlg, kAdrMax - 1, 1), "  ");
        Press(dlg, kCancel);
    });
    ASSERT_EQ(rec.msgs.size(), 2u);
    EXPECT_EQ(rec.msgs[0].text, "アドレスが選択されていません");
    EXPECT_EQ(rec.msgs[1].text, "500件以上登録できません");
    // The new entry was left empty: it is gone from the file.
    ASSERT_EQ(ReadAddress(), 1);
    EXPECT_EQ(g_adrBook.count, kAdrMax - 1);
    FreeAddress();
}

}  // namespace
