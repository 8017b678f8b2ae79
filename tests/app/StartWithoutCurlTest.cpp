#include "AnsweredBoxes.h"
#include "LoadedLibrary.h"
#include "TempFolder.h"
#include "app/MainWindow.h"

#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// libcurl, libxml2 and libcups (and all they bring) cost the start dearly;
// the window waits for the agent's first query, page and print before it
// loads them.
TEST(StartWithoutCurl, TheShownWindowHasNotLoadedTheLibrariesOfFirstUse)
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
            MainWindow window(folder.path());
            window.show();
            const bool shown = QTest::qWaitForWindowExposed(&window);
            if (!shown)
                std::exit(2);
            int code = 0;
            for (const char *library : {"libcurl.so.4", "libxml2.so.2", "libcups.so.2"}) {
                ++code;
                if (isLibraryLoaded(library))
                    std::exit(10 + code); // 11 libcurl, 12 libxml2, 13 libcups
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
