// The modal seam's single hook.
#include "platform/modal.h"

static ModalHook g_modalHook = nullptr;

void SetModalHook(ModalHook hook) {
    g_modalHook = hook;
}

int CallModalHook(const ModalEvent* event, int* answer) {
    if (!g_modalHook) return 0;
    *answer = g_modalHook(event);
    return 1;
}
