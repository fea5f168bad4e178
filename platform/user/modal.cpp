// The modal seam's single hook.
#include "platform/user/modal.h"

static ModalHook& g_modalHook = *new ModalHook;

void SetModalHook(ModalHook hook) {
    g_modalHook = std::move(hook);
}

// A copy runs, so that a hook may install another (or none) while it answers.
int CallModalHook(const ModalEvent* event, int* answer) {
    if (!g_modalHook) return 0;
    ModalHook hook = g_modalHook;
    *answer = hook(event);
    return 1;
}
