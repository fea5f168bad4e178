// The address book: the entries of the address book dialog, their file "quillet_adr.csv" in the
// application folder, and the operations the dialog performs on them. The book exists only while
// the dialog is open. Names and addresses are CP932 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int kAdrTextMax = 255;  // bytes of a name or an address
constexpr int kAdrNumMax = 10;    // characters of a number field that count
constexpr int kAdrMax = 500;      // entries the dialog lets the user create

struct AddressEntry {
    int32_t id;  // the index at the last add, load or save; finds the selection after a sort
    char name[kAdrTextMax + 1];
    char address[kAdrTextMax + 1];
    int32_t selected;  // ticked for sending; never stored in the file
};

// Entry i is row i of the dialog's list. Each entry is allocated on its own.
struct AddressBook {
    AddressEntry** items;
    int count;
};

extern AddressBook g_adrBook;

// Sort keys of SortAddress.
enum {
    ADR_UNSEL_FIRST = 0,
    ADR_SEL_FIRST = 1,
    ADR_NAME_ASC = 2,
    ADR_NAME_DESC = 3,
    ADR_ADDR_ASC = 4,
    ADR_ADDR_DESC = 5,
};

// Replaces the book with the file's entries, every one unticked. No file gives an empty book
// silently and returns 1. A file that cannot be opened, is no plain file, is larger than 4 MiB or
// cannot be read, or no memory, is told in a message box and leaves the book empty (0).
int ReadAddress();
// Numbers the entries 0, 1, 2, ... and replaces the file with them, leaving out entries whose
// name and address are both empty. When the file cannot be written (a full disk) it stays as it
// was, the user is told that the book was not saved, and 0 is returned.
int WriteAddress();
// Appends one entry, blank, with id count - 1. 0 (told in a message box) leaves the book as it
// was.
int AddAddress();
// Removes entry `index`; the later entries move one place to the front.
void DeleteAddress(int index);
// Reorders the book by `key` (ADR_*; any other key changes nothing). Entries with equal keys keep
// their order. 0 when the book holds no entries array.
int SortAddress(int key);
// Releases every entry; the book is empty.
void FreeAddress();

// Reads one field of the file from data[*pos] up to its unescaped comma into field (at most max
// bytes kept, the rest dropped, then a NUL); a tilde makes the next byte literal. *pos moves past
// the comma. 0 when the data ends before the comma.
int ParseField(const char* data, size_t size, size_t* pos, char* field, size_t max);
// Appends text to *out with a tilde before each comma and each tilde.
void EscapeField(const char* text, std::string* out);
