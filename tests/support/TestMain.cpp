#include "FontStandIns.h"

#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs with a QApplication (offscreen under ctest), so
// widgets, fonts and file encodings behave as in the program.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    registerFontStandIns();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
