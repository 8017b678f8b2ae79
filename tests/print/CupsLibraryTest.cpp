#include "print/CupsLibrary.h"
#include "common/KestranoError.h"

#include <gtest/gtest.h>

namespace {

// The CUPS library as printing loads it at its first use.
TEST(CupsLibrary, LoadsTheSystemsLibraryWithEveryFunction)
{
    const CupsLibrary &cups = CupsLibrary::instance();
    EXPECT_EQ(&cups, &CupsLibrary::instance());
    ASSERT_NE(cups.cupsUser, nullptr);
    EXPECT_STRNE(cups.cupsUser(), "");
    ASSERT_NE(cups.ippPort, nullptr);
    EXPECT_GT(cups.ippPort(), 0);
}

struct Unusable
{
    const char *name;
    const char *fileName;
    const char *named; // what the message must name
};

class UnusableCupsLibrary : public ::testing::TestWithParam<Unusable>
{
};

// Printing then fails with a message that says what is missing.
TEST_P(UnusableCupsLibrary, IsRefusedWithAMessageNamingWhatIsMissing)
{
    const Unusable &c = GetParam();
    try {
        const CupsLibrary library(c.fileName);
        FAIL() << c.fileName << " was taken for the CUPS library";
    } catch (const KestranoError &error) {
        EXPECT_TRUE(error.message().contains(QString::fromLatin1(c.fileName)))
            << error.message().toStdString();
        EXPECT_TRUE(error.message().contains(QString::fromLatin1(c.named)))
            << error.message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnusableCupsLibrary,
    ::testing::Values(Unusable{"NotInstalled", "libcups-absent.so.2", "libcups-absent.so.2"},
                      // The first function is missing.
                      Unusable{"AnotherLibrary", "libm.so.6", "cupsLastError"}),
    [](const ::testing::TestParamInfo<Unusable> &info) { return std::string(info.param.name); });

} // namespace
