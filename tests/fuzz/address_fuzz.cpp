// The address book file: any bytes as quillet_adr.csv are read into the book. The book written
// back and read again must hold the same texts, less the entries with neither name nor address,
// each entry with its place in the first book as its id.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "address/address.h"
#include "app/appstate.h"
#include "app/folders.h"
#include "fuzz_dir.h"
#include "platform/user/modal.h"

namespace {

struct AdrRow {
    int id;
    std::string name, address;
    bool operator==(const AdrRow&) const = default;
};

// A field holds at most kAdrTextMax bytes and its NUL.
int IsFieldEnded(const char* field) {
    return memchr(field, '\0', kAdrTextMax + 1) != nullptr;
}

std::vector<AdrRow> TakeAdrRows() {
    std::vector<AdrRow> rows;
    for (int i = 0; i < g_adrBook.count; i++) {
        const AddressEntry* e = g_adrBook.items[i];
        if (!IsFieldEnded(e->name) || !IsFieldEnded(e->address) || e->selected) abort();
        rows.push_back({e->id, e->name, e->address});
    }
    return rows;
}

int WriteAdrInput(const uint8_t* data, size_t size) {
    char path[MAX_PATH];
    if (!MakeAppFilePath(kAdrName, path)) return 0;
    FILE* f = fopen(path, "wb");
    if (!f) return 0;
    const size_t written = fwrite(data, 1, size, f);
    return fclose(f) == 0 && written == size;
}

// Any message box would tell of a failure the run must not meet.
int AnswerNoBox(const ModalEvent*) {
    abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int ready = [] {
        SetModalHook(AnswerNoBox);
        return MakeFuzzAppFolder("address_fuzz");
    }();
    if (!ready || !WriteAdrInput(data, size)) return 0;
    if (!ReadAddress()) abort();
    const std::vector<AdrRow> first = TakeAdrRows();
    std::vector<AdrRow> kept;
    for (size_t i = 0; i < first.size(); i++)
        if (!first[i].name.empty() || !first[i].address.empty())
            kept.push_back({int(i), first[i].name, first[i].address});
    if (!WriteAddress() || !ReadAddress() || TakeAdrRows() != kept) abort();
    FreeAddress();
    return 0;
}
