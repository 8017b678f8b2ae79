#include "net/FormEncoding.h"
#include "Bytes.h"
#include "Strings.h"

#include <gtest/gtest.h>

namespace {

TEST(FormEncoding, KeepsTheSafeSetAndWritesEverythingElseAsUtf8Bytes)
{
    const struct
    {
        const char *text;
        const char *encoded;
    } cases[] = {{"7819631900XXX", "7819631900XXX"},
                 {"781-2345678901", "781-2345678901"},
                 {"AZaz09*-._", "AZaz09*-._"},
                 {"张三", "%E5%BC%A0%E4%B8%89"},
                 {"TAN YUELU", "TAN+YUELU"},
                 {" 7819631900XXX ", "+7819631900XXX+"},
                 {"a+b&c=d%e/f?~", "a%2Bb%26c%3Dd%25e%2Ff%3F%7E"},
                 {"\t\n", "%09%0A"},
                 {"é𠀀", "%C3%A9%F0%A0%80%80"},
                 {"", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(encodeFormValue(u8s(c.text)), QByteArray(c.encoded)) << c.text;
}

TEST(FormEncoding, JoinsTheFieldsInTheirOrder)
{
    const HttpForm query = {{QStringLiteral("goFrom"), QStringLiteral("Index")},
                            {QStringLiteral("validateFlag"), QStringLiteral("0")},
                            {QStringLiteral("eticketNoORIn"), QStringLiteral("7819631900XXX")},
                            {QStringLiteral("eticketNo"), QStringLiteral("7819631900XXX")},
                            {QStringLiteral("passengerName"), u8s("张三")},
                            {QStringLiteral("passengerName_src"), u8s("张三")},
                            {QStringLiteral("randCode"), QStringLiteral("K7PX")}};
    EXPECT_EQ(encodeForm(query),
              QByteArray("goFrom=Index&validateFlag=0&eticketNoORIn=7819631900XXX"
                         "&eticketNo=7819631900XXX&passengerName=%E5%BC%A0%E4%B8%89"
                         "&passengerName_src=%E5%BC%A0%E4%B8%89&randCode=K7PX"));
    EXPECT_EQ(encodeForm(
                  {{QStringLiteral("a"), QString()}, {QStringLiteral("b c"), QStringLiteral("=")}}),
              QByteArray("a=&b+c=%3D"));
    EXPECT_EQ(encodeForm({}), QByteArray());
}

} // namespace
