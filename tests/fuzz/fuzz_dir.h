// The fuzz targets' private folders and the program's folders inside them.
#pragma once

#include <string>

// A new folder for one run, named after `name`, under $TMPDIR when set (a memory file system there
// keeps the runs fast), else under /tmp. Empty when it cannot be made.
std::string MakeFuzzDir(const char* name);
// Points the user's data, settings and runtime folders into a new fuzz folder and makes the
// application folder there, so that g_app.AppFolder and the settings store are the run's own. 0
// when it cannot be made.
int MakeFuzzAppFolder(const char* name);
