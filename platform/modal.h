// The modal seam: tests are told when a modal window would open and answer it in its place, so
// that no test ever waits on a window.
#pragma once

#include "platform/wintypes.h"

constexpr int MODAL_MSGBOX = 0;
constexpr int MODAL_DIALOG = 1;

// What is about to open. caption and text are UTF-8 and live only during the hook call.
struct ModalEvent {
    int kind;  // MODAL_MSGBOX or MODAL_DIALOG
    HWND owner;
    const char* caption;  // message box: the caption
    const char* text;     // message box: the text
    UINT type;            // message box: the MB_* flags
    int templ;            // dialog: the template number
    HWND wnd;             // dialog: the dialog, initialised and shown, to post answers to
};

// Returns the answer the modal window would have given (IDOK, IDCANCEL, a dialog's result). For
// a dialog the hook may instead post the messages a user's clicks would produce to ev->wnd; the
// returned answer ends the dialog only when those do not.
typedef int (*ModalHook)(const ModalEvent*);

// Installs hook for every modal window that opens from now on; nullptr removes it.
void SetModalHook(ModalHook hook);
// Returns 1 and the hook's answer in *answer when a hook is installed; the caller then shows
// nothing. Returns 0 when there is no hook.
int CallModalHook(const ModalEvent* event, int* answer);
