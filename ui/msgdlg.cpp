// The message box, for now on the platform's plain message box until the skinned one exists.
#include "ui/msgdlg.h"

#include "platform/msgbox.h"

int ShowMsgDlg(HWND owner, const char* text, int kind) {
    static const UINT kType[] = {MB_OK | MB_ICONERROR, MB_OK | MB_ICONINFORMATION,
                                 MB_OKCANCEL | MB_ICONQUESTION};
    if (kind < MSG_ERROR || kind > MSG_QUESTION) kind = MSG_ERROR;
    return MessageBoxA(owner, text, "Quillet", kType[kind]) == IDCANCEL ? 2 : 1;
}
