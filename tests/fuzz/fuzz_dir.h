// The fuzz targets' private folders.
#pragma once

#include <string>

// A new folder for one run, named after `name`, under $TMPDIR when set (a memory file system there
// keeps the runs fast), else under /tmp. Empty when it cannot be made.
std::string MakeFuzzDir(const char* name);
