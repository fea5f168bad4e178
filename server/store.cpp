// Picks the kind of database the --db setting names.
#include "server/store.h"

#include <cstdio>

#include "server/store_sqlite.h"

int OpenStore(const std::string& db, const std::string& dir, Store** st) {
    *st = nullptr;
    const std::string sqlite = "sqlite:";
    if (db.empty() || db == sqlite) return OpenSqliteStore(dir + "/quillet.db", dir, st);
    if (db.starts_with(sqlite)) return OpenSqliteStore(db.substr(sqlite.size()), dir, st);
    // Only the kind is named: what follows it may hold a password.
    fprintf(stderr, "quillet-server: unknown kind of database \"%s\" (known: sqlite)\n",
            db.substr(0, db.find(':')).c_str());
    return 0;
}
