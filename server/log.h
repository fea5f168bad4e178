// The server's log: one line per event, with the local time, on standard error by default (the
// journal under systemd). Lines from different threads never mix.
#pragma once

#include <cstdio>

// Writes one line: "YYYY-MM-DD HH:MM:SS quillet-server: " and the printf-formatted text.
void LogLine(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Sends the log to `f` from now on (tests read it back); nullptr restores standard error.
void SetLogFile(FILE* f);
