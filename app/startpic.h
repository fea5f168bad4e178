// The start picture: from the command line or handed over by the sibling program.
#pragma once

// Reads the command line: `argText` is what follows the program name in `line`. A non-empty
// argument text is the start path as it stands; an empty one with `line` beginning with the
// hand-over form "\"/T " gives the path after it, its last character (the closing quote) dropped.
// A hand-over path that does not fit MAX_PATH is refused whole, never cut.
void ReadCmdLine(const char* line, const char* argText);
// Opens the start picture at the end of the main window's creation: a handed-over picture goes
// straight into the work area, picture paths on the command line into the current tab's slots.
void OpenStartPic();
