// The store kept in one SQLite database file, with the pictures as files beside it.
#pragma once

#include <string>

#include "server/store.h"

// Opens (creating what is missing) the database file `path` and the picture folder
// `dir`/pictures: `dir` and its folders 0700, the database file 0600. Returns 1 with *st, 0 (and
// a line in the log) when it cannot.
int OpenSqliteStore(const std::string& path, const std::string& dir, Store** st);
