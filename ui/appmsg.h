// The program's own window messages.
#pragma once

#include "platform/user/window.h"

// A bitmap button was clicked: first parameter the button id, second 0; posted to its parent.
constexpr UINT WM_APP_BUTTON = WM_USER + 1;
// Puts the brightness slider's knob back to neutral; posted after a picture was opened,
// reloaded or cleared.
constexpr UINT WM_APP_RESET = WM_USER + 3;
