// The open and save file dialogs, with their results in the layout the program parses.
#pragma once

#include <string>
#include <vector>

#include "platform/user/window.h"

// Not called: the dialogs take no hook procedure or template.
typedef uintptr_t (*LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

// What the dialog is asked and what it gives back. Paths are file-system bytes (UTF-8) with '/'
// between folders; texts are UTF-8.
struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;  // its top-level window takes no input while the dialog is open
    HINSTANCE hInstance;
    // Pairs of display text and patterns ("*.bmp;*.jpg"), each NUL-ended, then a NUL.
    LPCSTR lpstrFilter;
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;  // 1-based: in, the filter shown first; out, the one chosen
    LPSTR lpstrFile;     // in: the name the dialog opens with; out: the result
    DWORD nMaxFile;      // bytes at lpstrFile
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;  // none: the current folder
    LPCSTR lpstrTitle;       // none: "開く" or "名前を付けて保存"
    DWORD Flags;             // OFN_*
    WORD nFileOffset;        // out: where the (first) name starts in lpstrFile
    WORD nFileExtension;     // out: one file: where its extension starts, 0 when it has none
    LPCSTR lpstrDefExt;      // save: appended when the name has no extension
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
};

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_EXTENSIONDIFFERENT = 0x00000400;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_LONGNAMES = 0x00200000;
constexpr DWORD OFN_ENABLESIZING = 0x00800000;

constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

// Lets the user pick an existing file, or several with OFN_ALLOWMULTISELECT, and returns TRUE
// with lpstrFile holding one file as its full path, or several as their folder followed by their
// names, each ended by a NUL, and one more NUL (with OFN_ALLOWMULTISELECT that NUL is counted in
// the room needed even for one file; without, one file needs only its own NUL); nFileOffset is where the (first) name starts, so
// lpstrFile[nFileOffset - 1] is NUL only for several files. Several files come in the order the
// dialog lists them (the original put the focused one first; the port keeps the dialog's order).
// Returns FALSE when the user cancels (CommDlgExtendedError() is then 0) or when the result does
// not fit nMaxFile bytes (FNERR_BUFFERTOOSMALL, with the bytes needed as a little-endian WORD in
// lpstrFile's first two bytes). A test's modal hook answers in the user's place (MODAL_OPENFILE):
// full paths, several in one folder, that of the first.
BOOL GetOpenFileNameA(OPENFILENAMEA* ofn);

// Lets the user name a file to write and returns TRUE with its full path in lpstrFile, as for one
// file above. With lpstrDefExt set, a name without an extension (no '.' after its last '/') gets
// one: the first three characters of the chosen filter's when its first pattern is "*.ext"
// without wildcards, else of lpstrDefExt; OFN_EXTENSIONDIFFERENT tells whether the name came
// with another extension than lpstrDefExt. With OFN_OVERWRITEPROMPT an existing file is only taken
// after the user answers Yes to a question box; No opens the dialog again with the name. With
// OFN_PATHMUSTEXIST a name in a folder that does not exist is refused with a message box, and the
// dialog opens again. A test's
// modal hook answers in the user's place (MODAL_SAVEFILE): one name, a relative one taken in
// lpstrInitialDir or else the current folder; any answer to the question but IDNO lets the name be
// taken.
BOOL GetSaveFileNameA(OPENFILENAMEA* ofn);

// Why the last file dialog returned FALSE: 0 when the user cancelled, else FNERR_*.
DWORD CommDlgExtendedError();

// The filter pairs as Qt name filters, "display (pattern pattern)", one per pair.
std::vector<std::string> MakeNameFilters(LPCSTR filter);
