// Text the program sends in CP932, turned into UTF-8 for the files and pages.
#pragma once

#include <string>

// The CP932 bytes of `sjis` as UTF-8. A byte that does not start a CP932 character becomes
// U+FFFD and the conversion goes on after it, so any input gives some text.
std::string SjisToUtf8Lossy(const std::string& sjis);
