// The whole program started for a test: the entry with a command line, the main window kept
// after its loop ends, the shell's page openings recorded.
#pragma once

#include <string>
#include <vector>

#include "support/testutil.h"

// The addresses the shell would have opened since the last start.
extern std::vector<std::string> g_opened;

// Ends every loop that a quit request is waiting for.
void DrainQuit();

// The program started with `line` on a 1024 x 768 display, an account already set up; the loop
// ends at once, the main window stays for the test.
struct MainRun {
    AppEnv env;
    MsgRecorder rec{1};
    explicit MainRun(const std::string& line = "quillet");
    ~MainRun();
    // The entry as the program file calls it.
    int Start(const std::string& line);
    // The running program ended (its window destroyed), then started again with `line`.
    int Restart(const std::string& line);
    // Button `id` of the main window clicked, and what it posted handled.
    void Click(int id);
};

// A w x h BMP of one colour named `name` in folder `dir`; returns its path.
std::string PutBmp(const std::string& dir, const char* name, int w = 3, int h = 2,
                   uint32_t color = 0x336699);
