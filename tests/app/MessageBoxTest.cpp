#include "app/MessageBox.h"
#include "Strings.h"

#include <gtest/gtest.h>

namespace {

TEST(StandardErrorBox, AppendsAFullStopAfterACharacterAboveIt)
{
    const struct
    {
        const char *message;
        const char *shown;
    } cases[] = {{"Unable to write to /x/vantrel_cof.ini", "Unable to write to /x/vantrel_cof.ini."},
                 {"Done.", "Done."},
                 {"Failed!", "Failed!"},
                 {"code 42", "code 42."},
                 {"无法连接", "无法连接."},
                 {"", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(MessageBox::withFullStop(u8s(c.message)), u8s(c.shown)) << c.message;
}

} // namespace
