// The order of names of the original file system, shared by the file search and sorted lists.
#pragma once

#include <string>

// Compares names by their upper-cased form (ASCII letters only), byte by byte: -1, 0 or 1.
int CompareNameUpper(const std::string& a, const std::string& b);
