#include "AnsweredBoxes.h"
#include "LoadedLibrary.h"
#include "TempFolder.h"
#include "app/MainWindow.h"

#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// libcurl and all it brings cost the start dearly; the window waits for the
// agent's first captcha fetch or query before it loads them.
TEST(StartWithoutCurl, TheShownWindowHasNotLoadedTheHttpLibrary)
{
#ifndef Q_OS_LINUX
    GTEST_SKIP() << "asks the dynamic loader of Linux";
#endif
    // In a process of its own, started afresh from main(), so that what an
    // earlier test loaded does not count.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TempFolder folder;
            folder.copyDeliveredLists();
            AnsweredBoxes boxes;
            TfrmMain window(folder.path());
            window.show();
            const bool shown = QTest::qWaitForWindowExposed(&window);
            std::exit(!shown ? 2 : isLibraryLoaded("libcurl.so.4") ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
