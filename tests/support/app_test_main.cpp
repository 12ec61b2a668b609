#include "app/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>

// The program's own application object, so that an exception escaping a handler the test sets
// off is shown in a box at the event that raised it, as the planner would see it.
int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
