#include "app/MessageBox.h"
#include "Strings.h"

#include <gtest/gtest.h>

namespace {

TEST(StandardErrorBox, AppendsAFullStopOfTheSentencesLanguage)
{
    const struct
    {
        const char *message;
        const char *shown;
    } cases[] = {{"Unable to write to /x/vantrel_cof.ini", "Unable to write to /x/vantrel_cof.ini."},
                 {"Done.", "Done."},
                 {"Failed!", "Failed!"},
                 {"code 42", "code 42."},
                 {"无法连接", "无法连接。"},
                 {"无法写入设置文件 /x/vantrel_cof.ini", "无法写入设置文件 /x/vantrel_cof.ini。"},
                 {"提取失败！", "提取失败！"},
                 {"已停止。", "已停止。"},
                 {"", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(MessageBox::withFullStop(u8s(c.message)), u8s(c.shown)) << c.message;
}

} // namespace
