#include "fuzz_dir.h"

#include <stdlib.h>

std::string MakeFuzzDir(const char* name) {
    const char* tmp = getenv("TMPDIR");
    std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + name + ".XXXXXX";
    return mkdtemp(tmpl.data()) ? tmpl : "";
}
