// `quillet-server account ...`: the accounts, kept while the server runs or not.
#pragma once

#include <cstdio>

#include "server/options.h"
#include "server/store.h"

// Runs the account command in o.words (after "account") on `st`, reading passwords from `in`
// and writing what it shows to `out`. Returns the process exit status: 0 done, 1 refused or
// failed (with a message on standard error), 2 a malformed command.
int RunAccountCmd(const ServerOpts& o, Store* st, FILE* in, FILE* out);
