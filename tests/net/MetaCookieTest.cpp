#include "net/MetaCookie.h"
#include "Bytes.h"

#include <gtest/gtest.h>

namespace {

TEST(MetaCookie, BelongsToThePagesHostAloneAndTakesItsDirectoryWhenItNamesNone)
{
    const qint64 now = 1700000000;
    const struct
    {
        const char *setCookie;
        const char *page;
        const char *line; // empty: refused
    } cases[] = {
        {"pool=12345", "http://127.0.0.1:8080/index", "127.0.0.1\tFALSE\t/\tFALSE\t0\tpool\t12345"},
        {" pool = 1 ; Path=/tsky ", "http://www.travelsky.com/a/b/c.jsp",
         "www.travelsky.com\tFALSE\t/tsky\tFALSE\t0\tpool\t1"},
        {"pool=1", "http://www.travelsky.com/a/b/c.jsp",
         "www.travelsky.com\tFALSE\t/a/b\tFALSE\t0\tpool\t1"},
        {"pool=1; path=relative", "http://Example.COM", "example.com\tFALSE\t/\tFALSE\t0\tpool\t1"},
        // A Domain attribute never widens the cookie beyond the page's host.
        {"pool=1; Domain=.travelsky.com", "http://www.travelsky.com/",
         "www.travelsky.com\tFALSE\t/\tFALSE\t0\tpool\t1"},
        {"pool=1; Domain=.com.cn", "http://www.travelsky.com.cn/",
         "www.travelsky.com.cn\tFALSE\t/\tFALSE\t0\tpool\t1"},
        {"pool=1; domain=other.com", "http://www.travelsky.com/",
         "www.travelsky.com\tFALSE\t/\tFALSE\t0\tpool\t1"},
        {"pool=1; domain=127.0.0.1", "http://127.0.0.1/", "127.0.0.1\tFALSE\t/\tFALSE\t0\tpool\t1"},
        {"pool=1; Max-Age=60; expires=Wed, 09 Jun 2021 10:18:14 GMT", "http://h/",
         "h\tFALSE\t/\tFALSE\t1700000060\tpool\t1"},
        {"pool=1; expires=Wed, 09 Jun 2021 10:18:14 GMT", "http://h/",
         "h\tFALSE\t/\tFALSE\t1623233894\tpool\t1"},
        {"pool=; max-age=0", "http://h/", "h\tFALSE\t/\tFALSE\t1\tpool\t"},
        {"pool=1; HttpOnly; Secure", "https://h/x", "#HttpOnly_h\tFALSE\t/\tTRUE\t0\tpool\t1"},
        {"pool=1; Secure", "http://h/", ""},
        {"novalue", "http://h/", ""},
        {"=1", "http://h/", ""},
        {"a=b\tc", "http://h/", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(metaCookieLine(c.setCookie, QUrl(QString::fromLatin1(c.page)), now),
                  QByteArray(c.line))
            << c.setCookie << " from " << c.page;
    }
}

} // namespace
