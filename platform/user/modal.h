// The modal seam: tests are told when a modal window would open and answer it in its place, so
// that no test ever waits on a window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/wintypes.h"

constexpr int MODAL_MSGBOX = 0;
constexpr int MODAL_DIALOG = 1;
constexpr int MODAL_OPENFILE = 2;  // GetOpenFileNameA
constexpr int MODAL_SAVEFILE = 3;  // GetSaveFileNameA

// What is about to open. The texts are UTF-8 and live only during the hook call.
struct ModalEvent {
    int kind;  // MODAL_*
    HWND owner;
    const char* caption;  // message box: the caption; file dialog: the title
    const char* text;     // message box: the text
    UINT type;            // message box: the MB_* flags; file dialog: the OFN_* flags
    int templ;            // dialog: the template number
    HWND wnd;             // dialog: the dialog, initialised and shown, to post answers to
    // File dialogs: what the user chose, filled by the hook before it answers IDOK: full paths of
    // the files picked in the open dialog, in the order the dialog lists them; for the save
    // dialog one name as typed into its name field (a bare name is in the dialog's folder).
    std::vector<std::string>* files = nullptr;
    const char* filter = nullptr;  // file dialog: filter pairs, each NUL-terminated, then a NUL
    const char* defExt = nullptr;  // save dialog: the default extension, or none
};

// Returns the answer the modal window would have given (IDOK, IDCANCEL, a dialog's result). For
// a dialog the hook may instead act as a user would (PlatMouseEvent, PlatTypeText, ...) or post
// the messages a user's clicks would produce to ev->wnd; the returned answer ends the dialog
// only when those do not. A file dialog answered IDOK takes ev->files.
typedef std::function<int(const ModalEvent*)> ModalHook;

// Installs hook for every modal window that opens from now on; an empty hook removes it.
void SetModalHook(ModalHook hook);
// Returns 1 and the hook's answer in *answer when a hook is installed; the caller then shows
// nothing. Returns 0 when there is no hook.
int CallModalHook(const ModalEvent* event, int* answer);
