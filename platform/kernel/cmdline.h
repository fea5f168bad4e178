// The program's arguments, handed over by PlatInitApp to make the command line.
#pragma once

void SetCmdLineArgs(int argc, char** argv);
