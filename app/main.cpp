// The program file's entry: the window system first, then the program's own entry.
#include "app/winmain.h"
#include "platform/kernel/kernel.h"

int main(int argc, char** argv) {
    HINSTANCE inst = PlatInitApp(&argc, argv);
    return QuilletMain(inst, GetCmdArgText(GetCommandLineA()), SW_SHOWNORMAL);
}
