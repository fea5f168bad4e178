// The address book file: one run of comma-ended fields, "id,name,address," per entry, closed by
// "-1,0", with no line break anywhere.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "address/address.h"
#include "app/folders.h"
#include "platform/kernel/fileapi.h"
#include "platform/user/msgbox.h"
#include "ui/msgdlg.h"

AddressBook g_adrBook;

namespace {

constexpr size_t kReadStep = 1024;
// The largest book file read. A book the dialog can make stays far below it (500 entries of two
// 255-byte fields); far above it, the entries prepared while loading would take gigabytes.
constexpr size_t kAdrFileMax = 4 * 1024 * 1024;
constexpr int kLoadStep = 10;  // entries prepared at a time while loading

void TellReadErr(const char* text) {
    MessageBoxA(nullptr, text, "ReadAddress-Error", MB_OK);
}

// The whole file into a malloc'd buffer. 1 with *data (the caller frees it) and *size; 1 with no
// data when there is no file; 0 after telling the user, also for a file that is there but cannot
// be opened, is no plain file or is larger than kAdrFileMax.
int ReadAdrFile(char** data, size_t* size) {
    *data = nullptr;
    *size = 0;
    char path[MAX_PATH];
    if (!MakeAppFilePath(kAdrName, path)) return 1;
    char* buf = static_cast<char*>(malloc(kReadStep));
    if (!buf) {
        TellReadErr("メモリが確保できませんでした");
        return 0;
    }
    FILE* f = OpenPlainFile(path, nullptr);
    if (!f) {
        const int missing = errno == ENOENT;
        free(buf);
        if (missing) return 1;
        TellReadErr("ファイル読込みエラー");
        return 0;
    }
    size_t have = 0, room = kReadStep;
    for (;;) {
        const size_t got = fread(buf + have, 1, room - have, f);
        have += got;
        // The cap is counted in what was read, so a file that grows while it is read is caught.
        if (have < room || have > kAdrFileMax) break;
        char* more = static_cast<char*>(realloc(buf, room + kReadStep));
        if (!more) {
            fclose(f);
            free(buf);
            TellReadErr("メモリが確保できませんでした");
            return 0;
        }
        buf = more;
        room += kReadStep;
    }
    const int failed = ferror(f) || have > kAdrFileMax;
    fclose(f);
    if (failed) {
        free(buf);
        TellReadErr("ファイル読込みエラー");
        return 0;
    }
    *data = buf;
    *size = have;
    return 1;
}

// A number field: its first ten characters as a decimal integer with optional leading blanks and
// sign; no digits give 0, a value beyond 32 bits the nearest 32-bit one.
int ParseNum(const char* data, size_t size, size_t* pos, int32_t* num) {
    char text[kAdrNumMax + 1];
    if (!ParseField(data, size, pos, text, kAdrNumMax)) return 0;
    const long long v = strtoll(text, nullptr, 10);
    *num = int32_t(v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : v);
    return 1;
}

// Makes room for entry `index`: pointers and entries come kLoadStep at a time.
int GrowBook(int index, int* room) {
    if (index < *room) return 1;
    auto** items = static_cast<AddressEntry**>(
        realloc(g_adrBook.items, sizeof(AddressEntry*) * size_t(*room + kLoadStep)));
    if (!items) return 0;
    g_adrBook.items = items;
    for (int i = *room; i < *room + kLoadStep; i++) {
        items[i] = static_cast<AddressEntry*>(calloc(1, sizeof(AddressEntry)));
        if (!items[i]) {
            *room = i;
            return 0;
        }
    }
    *room += kLoadStep;
    return 1;
}

// Entries from the data until the first negative id or the end of the data; an entry cut off by
// the end is dropped. 0 when memory ran out (the book is then emptied by the caller).
int ParseAdrData(const char* data, size_t size, int* room) {
    size_t pos = 0;
    int32_t id;
    if (!GrowBook(0, room)) return 0;
    while (ParseNum(data, size, &pos, &id) && id >= 0) {
        AddressEntry* e = g_adrBook.items[g_adrBook.count];
        if (!ParseField(data, size, &pos, e->name, kAdrTextMax) ||
            !ParseField(data, size, &pos, e->address, kAdrTextMax))
            break;
        e->id = id;
        e->selected = 0;
        g_adrBook.count++;
        if (!GrowBook(g_adrBook.count, room)) return 0;
    }
    return 1;
}

}  // namespace

int ParseField(const char* data, size_t size, size_t* pos, char* field, size_t max) {
    size_t at = *pos, kept = 0;
    int ended = 0;
    while (at < size) {
        char c = data[at++];
        if (c == ',') {
            ended = 1;
            break;
        }
        if (c == '~') {
            if (at == size) break;
            c = data[at++];
        }
        if (kept < max) field[kept++] = c;
    }
    field[kept] = '\0';
    *pos = at;
    return ended;
}

void EscapeField(const char* text, std::string* out) {
    for (const char* p = text; *p; p++) {
        if (*p == ',' || *p == '~') out->push_back('~');
        out->push_back(*p);
    }
}

int ReadAddress() {
    FreeAddress();
    char* data;
    size_t size;
    if (!ReadAdrFile(&data, &size)) return 0;
    if (!data) return 1;
    int room = 0;
    const int ok = ParseAdrData(data, size, &room);
    free(data);
    if (!ok) {
        // Every prepared entry goes, used or not.
        g_adrBook.count = room;
        FreeAddress();
        TellReadErr("メモリが確保できませんでした");
        return 0;
    }
    for (int i = g_adrBook.count; i < room; i++) free(g_adrBook.items[i]);
    return 1;
}

int WriteAddress() {
    std::string bytes;
    char num[16];
    for (int i = 0; i < g_adrBook.count; i++) {
        AddressEntry* e = g_adrBook.items[i];
        e->id = i;
        if (!e->name[0] && !e->address[0]) continue;
        snprintf(num, sizeof num, "%d,", int(e->id));
        bytes += num;
        EscapeField(e->name, &bytes);
        bytes += ',';
        EscapeField(e->address, &bytes);
        bytes += ',';
    }
    bytes += "-1,0";
    char path[MAX_PATH];
    if (PrepAppFilePath(kAdrName, path) && WriteWholeFile(path, bytes.data(), bytes.size(), 0600))
        return 1;
    // The book is released after a save: changes lost without a word would look kept.
    ShowMsgDlg(nullptr, "アドレス帳を保存できませんでした", MSG_ERROR);
    return 0;
}
