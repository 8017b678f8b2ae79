#include "common/FontStandIns.h"

#ifdef KESTRANO_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
// The core's tests run without the widgets module: nothing below the window
// layer may need it.
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <gtest/gtest.h>

// Every test program runs with an application object (offscreen unless told
// otherwise), so fonts and file encodings behave as in the program.
int main(int argc, char **argv)
{
    // Also when ctest lists the tests, which it does without their environment.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    registerFontStandIns();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
