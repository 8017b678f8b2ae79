#include "FontStandIns.h"

#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs with a QApplication (offscreen unless told otherwise), so
// widgets, fonts and file encodings behave as in the program.
int main(int argc, char **argv)
{
    // Also when ctest lists the tests, which it does without their environment.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerFontStandIns();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
