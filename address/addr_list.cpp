// Changes to the address book in memory: adding, deleting, sorting and releasing entries.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "address/address.h"
#include "platform/user/msgbox.h"

namespace {

// The key of ADR_UNSEL_FIRST and ADR_SEL_FIRST: 0 for an unticked entry.
int SelRank(const AddressEntry& e) {
    return e.selected != 0;
}

// Strictly before, for `key`: byte-wise text order (unsigned bytes, a prefix first) or the tick.
bool AdrBefore(int key, const AddressEntry& a, const AddressEntry& b) {
    switch (key) {
        case ADR_UNSEL_FIRST: return SelRank(a) < SelRank(b);
        case ADR_SEL_FIRST: return SelRank(a) > SelRank(b);
        case ADR_NAME_ASC: return strcmp(a.name, b.name) < 0;
        case ADR_NAME_DESC: return strcmp(a.name, b.name) > 0;
        case ADR_ADDR_ASC: return strcmp(a.address, b.address) < 0;
        case ADR_ADDR_DESC: return strcmp(a.address, b.address) > 0;
        default: return false;
    }
}

}  // namespace

int AddAddress() {
    auto** items = static_cast<AddressEntry**>(
        realloc(g_adrBook.items, sizeof(AddressEntry*) * size_t(g_adrBook.count + 1)));
    AddressEntry* e = static_cast<AddressEntry*>(calloc(1, sizeof(AddressEntry)));
    if (items) g_adrBook.items = items;
    if (!items || !e) {
        free(e);
        MessageBoxA(nullptr, "メモリが確保できませんでした", "ReadAddress-Error", MB_OK);
        return 0;
    }
    e->id = g_adrBook.count;
    items[g_adrBook.count++] = e;
    return 1;
}

void DeleteAddress(int index) {
    if (index < 0 || index >= g_adrBook.count) return;
    for (int i = index; i + 1 < g_adrBook.count; i++) *g_adrBook.items[i] = *g_adrBook.items[i + 1];
    free(g_adrBook.items[--g_adrBook.count]);
}

int SortAddress(int key) {
    if (!g_adrBook.items) return 0;
    const int n = g_adrBook.count;
    auto* copy = static_cast<AddressEntry*>(malloc(sizeof(AddressEntry) * size_t(n ? n : 1)));
    if (!copy) return 1;
    for (int i = 0; i < n; i++) copy[i] = *g_adrBook.items[i];
    std::stable_sort(copy, copy + n, [key](const AddressEntry& a, const AddressEntry& b) {
        return AdrBefore(key, a, b);
    });
    for (int i = 0; i < n; i++) *g_adrBook.items[i] = copy[i];
    free(copy);
    return 1;
}

void FreeAddress() {
    for (int i = 0; i < g_adrBook.count; i++) free(g_adrBook.items[i]);
    free(g_adrBook.items);
    g_adrBook = AddressBook{};
}
