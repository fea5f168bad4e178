// The entry of every test program: the control classes are made known as the program's entry
// makes them known, then the tests run.
#include <gtest/gtest.h>

#include "platform/controls/commctrl.h"

int main(int argc, char** argv) {
    InitCommonControls();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
