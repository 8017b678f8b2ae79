#include "FakeVerificationService.h"
#include "LoadedLibrary.h"
#include "RequestToEnd.h"
#include "net/HttpClient.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

const char *const curl = "libcurl.so.4";

// The statement runs in a process of its own, started afresh from main(), so
// that what an earlier test loaded does not count.
void inFreshProcess(const std::function<int()> &statement)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(statement()), ::testing::ExitedWithCode(0), "");
}

TEST(CurlLoading, AClientLoadsLibcurlAtItsFirstRequestAndNotBefore)
{
#ifndef Q_OS_LINUX
    GTEST_SKIP() << "asks the dynamic loader of Linux";
#endif
    inFreshProcess([] {
        if (isLibraryLoaded(curl))
            return 1; // the test program itself brings it
        FakeVerificationService service;
        HttpClient client;
        client.setAccept(QStringLiteral("text/html"));
        client.setUserAgent(QStringLiteral("Mozilla/5.0"));
        client.setLimits(HttpLimits{});
        if (!client.cookies().isEmpty() || client.isRunning() || isLibraryLoaded(curl))
            return 2;
        // The home page sets the session cookie on its way to "/index".
        const HttpAnswer answer = getNow(client, service.root() + u'/');
        if (answer.status != 200 || client.cookies().isEmpty())
            return 3;
        return isLibraryLoaded(curl) ? 0 : 4;
    });
}

} // namespace
