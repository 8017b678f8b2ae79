#include "net/AnswerText.h"
#include "Bytes.h"
#include "Strings.h"
#include "net/HtmlHead.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

QByteArray gbk(const char *utf8)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(u8s(utf8));
}

QString latin1(const QByteArray &bytes)
{
    QString text;
    for (const char byte : bytes)
        text.append(QChar(char16_t(static_cast<unsigned char>(byte))));
    return text;
}

TEST(AnswerText, DecodesInTheDeclaredCharsetMetaTagFirst)
{
    const QByteArray name = gbk("张三 北京首都");
    const QByteArray metaGbk = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                               "charset=GBK\"></head><body>";
    const QByteArray metaUtf8 = "<html><head><META CHARSET='utf-8'></head><body>";
    const QByteArray metaUnknown = "<html><head><meta charset=x-klingon></head><body>";
    const QByteArray bare = "<html><head><title>t</title></head><body>";
    const QByteArray inBody = "<html><head></head><body><meta charset=gbk>";
    const QByteArray commented = "<html><head><!-- <meta charset=gbk> --></head><body>";
    const QByteArray utf8Name = u8s("张三 北京首都").toUtf8();

    const struct
    {
        const char *why;
        QByteArray body;
        QByteArray contentType;
        QString text;
    } cases[] = {
        {"meta over header", metaGbk + name, "text/html; charset=utf-8", u8s("张三 北京首都")},
        {"meta only", metaGbk + name, "text/html", u8s("张三 北京首都")},
        {"meta charset attribute", metaUtf8 + utf8Name, "text/html; charset=gbk",
         u8s("张三 北京首都")},
        {"gb2312 read as GB18030", bare + name, "text/html; charset=gb2312", u8s("张三 北京首都")},
        {"quoted header charset", bare + utf8Name, "text/html; charset=\"UTF-8\"",
         u8s("张三 北京首都")},
        {"no content type is a page", metaGbk + name, "", u8s("张三 北京首都")},
        {"none: byte for byte", bare + name, "text/html", latin1(name)},
        {"unknown meta: byte for byte", metaUnknown + utf8Name, "text/html; charset=utf-8",
         latin1(utf8Name)},
        {"unknown header: byte for byte", bare + utf8Name, "text/html; charset=nonsense",
         latin1(utf8Name)},
        {"meta in the body does not count", inBody + name, "text/html", latin1(name)},
        {"meta in a comment does not count", commented + name, "text/html", latin1(name)},
        {"not a page: header only", metaUtf8 + name, "text/plain; charset=gbk",
         u8s("张三 北京首都")},
        {"not a page without charset", metaGbk + name, "text/plain", latin1(name)},
    };
    for (const auto &c : cases) {
        const QString text = decodeAnswerText(c.body, c.contentType);
        EXPECT_TRUE(text.endsWith(c.text)) << c.why << ": " << text.toStdString();
    }
    EXPECT_EQ(decodeAnswerText("\x80\xFF", "text/html"), latin1("\x80\xFF"));
}

TEST(HtmlHead, ReadsMetaAttributesInAnyFormUntilTheBody)
{
    const QList<HtmlMeta> metas = headMetaTags(
        "<!DOCTYPE html><HTML><HEAD><title>a < b</title>\n"
        "<meta http-equiv=Set-Cookie content=\"a=1; path=/x\">\n"
        "<Meta\tCONTENT='b=&quot;2&quot;&amp;' HTTP-EQUIV='set-cookie' content=ignored/>\n"
        "<metadata name=x><meta charset = gbk>\n"
        "</head><body><meta charset=utf-8></body></html>");
    ASSERT_EQ(metas.size(), 3);
    EXPECT_EQ(metas[0].value("http-equiv"), "Set-Cookie");
    EXPECT_EQ(metas[0].value("content"), "a=1; path=/x");
    EXPECT_EQ(metas[1].value("http-equiv"), "set-cookie");
    EXPECT_EQ(metas[1].value("content"), "b=\"2\"&");
    EXPECT_EQ(metas[2].value("charset"), "gbk");

    EXPECT_TRUE(headMetaTags("<!-- <meta charset=gbk>").isEmpty());
    EXPECT_TRUE(headMetaTags("").isEmpty());
}

} // namespace
