#include "app/appstate.h"

AppState g_app;
