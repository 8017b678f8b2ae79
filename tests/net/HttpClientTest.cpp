#include "net/HttpClient.h"
#include "Bytes.h"
#include "FakeVerificationService.h"
#include "RequestToEnd.h"
#include "Strings.h"
#include "common/KestranoError.h"

#include <QImage>
#include <QStringEncoder>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

const QString pageAccept = QStringLiteral("text/html, application/xhtml+xml, */*");
const QString pictureAccept = QStringLiteral("image/png, image/svg+xml, image/*;q=0.8, */*;q=0.5");
const QString captchaPath = QStringLiteral("/tsky/servlet/CallYanServlet?title=home");

QByteArray gbk(const char *utf8)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(u8s(utf8));
}

// A client with the header values of the captcha fetch, and the service it talks to.
class HttpClientTest : public ::testing::Test
{
protected:
    HttpClientTest()
    {
        m_client.setAccept(pageAccept);
        m_client.setReferer(m_service.root());
        m_client.setAcceptEncoding(QStringLiteral("gzip, deflate"));
        m_client.setAcceptLanguage(QStringLiteral("zh-CN"));
        m_client.setUserAgent(
            QStringLiteral("Mozilla/5.0 (Windows NT 6.1; WOW64; Trident/7.0; rv:11.0) like Gecko"));
    }

    QString url(const QString &path) const { return m_service.root() + path; }
    QString url(const char *path) const { return url(QString::fromLatin1(path)); }

    // The home page, then a captcha picture.
    HttpAnswer fetchCaptcha()
    {
        m_client.setAccept(pageAccept);
        getNow(m_client, url("/"));
        m_client.setAccept(pictureAccept);
        return getNow(m_client, url(captchaPath));
    }

    HttpAnswer query(const QString &ticket, const QString &name, const QString &code)
    {
        m_client.setAccept(pageAccept);
        return postNow(m_client, url("/tsky/validate"),
                       {{QStringLiteral("goFrom"), QStringLiteral("Index")},
                        {QStringLiteral("validateFlag"), QStringLiteral("0")},
                        {QStringLiteral("eticketNoORIn"), ticket},
                        {QStringLiteral("eticketNo"), ticket},
                        {QStringLiteral("passengerName"), name},
                        {QStringLiteral("passengerName_src"), name},
                        {QStringLiteral("randCode"), code}});
    }

    // Declared first: the service outlives the client's open connection.
    FakeVerificationService m_service;
    HttpClient m_client;
};

class ExchangeTest : public HttpClientTest,
                     public ::testing::WithParamInterface<FakeVerificationService::Compression>
{
};

TEST_P(ExchangeTest, QueryCarriesBothCookiesTheHeadersAndTheFormOfTheCaptchaSession)
{
    m_service.setCompression(GetParam());
    const QByteArray resultPage =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
        "</head><body>" +
        gbk("旅客姓名 张三") + "</body></html>";
    m_service.setResultPage(resultPage);

    const HttpAnswer picture = fetchCaptcha();
    EXPECT_EQ(picture.contentType, "image/jpeg");
    EXPECT_FALSE(QImage::fromData(picture.body, "JPEG").isNull());
    const HttpAnswer answer =
        query(QStringLiteral("7819631900XXX"), u8s("张三"), m_service.captchaCode());

    EXPECT_EQ(m_service.lastRejection(), QString());
    EXPECT_EQ(answer.body, resultPage);
    EXPECT_TRUE(answer.text().endsWith(u8s("旅客姓名 张三</body></html>")))
        << answer.text().toStdString();

    const QList<FakeRequest> requests = m_service.requests();
    ASSERT_EQ(requests.size(), 4); // "/", "/index", the captcha, the query
    for (const FakeRequest &request : requests)
        EXPECT_EQ(request.version, "HTTP/1.1");
    EXPECT_EQ(requests[2].header("Accept"), pictureAccept.toLatin1());
    EXPECT_EQ(requests[2].header("Cookie"), requests[3].header("Cookie"));

    const FakeRequest &posted = requests[3];
    EXPECT_EQ(posted.method, "POST");
    EXPECT_EQ(posted.body, "goFrom=Index&validateFlag=0&eticketNoORIn=7819631900XXX"
                           "&eticketNo=7819631900XXX&passengerName=%E5%BC%A0%E4%B8%89"
                           "&passengerName_src=%E5%BC%A0%E4%B8%89&randCode=" +
                               m_service.captchaCode().toLatin1());
    for (const auto &[name, value] : FakeVerificationService::browserHeaders())
        EXPECT_EQ(posted.header(name), value) << name.constData();
    EXPECT_EQ(posted.header("Referer"), m_service.root().toLatin1());
    EXPECT_EQ(posted.header("Content-Type"), "application/x-www-form-urlencoded");
    const QByteArray cookies = posted.header("Cookie");
    EXPECT_TRUE(cookies.contains("JSESSIONID=") && cookies.contains("BIGipServerpool_tsky="))
        << cookies.constData();

    QByteArrayList names;
    for (const auto &header : posted.headers)
        names.append(header.first.toLower());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names.join(' '), "accept accept-encoding accept-language connection content-length "
                               "content-type cookie dnt host referer user-agent");
}

std::string
compressionName(const ::testing::TestParamInfo<FakeVerificationService::Compression> &info)
{
    switch (info.param) {
    case FakeVerificationService::Compression::None:
        return "Plain";
    case FakeVerificationService::Compression::Gzip:
        return "Gzip";
    case FakeVerificationService::Compression::Deflate:
        return "Deflate";
    }
    return {};
}

INSTANTIATE_TEST_SUITE_P(Compression, ExchangeTest,
                         ::testing::Values(FakeVerificationService::Compression::None,
                                           FakeVerificationService::Compression::Gzip,
                                           FakeVerificationService::Compression::Deflate),
                         compressionName);

TEST_F(HttpClientTest, MetaCookieGetsTheHostAndDirectoryOfThePage)
{
    getNow(m_client, url("/"));
    QByteArray poolCookie;
    for (const QByteArray &line : m_client.cookies()) {
        if (line.contains("\tBIGipServerpool_tsky\t"))
            poolCookie = line;
    }
    EXPECT_TRUE(poolCookie.startsWith("127.0.0.1\tFALSE\t/\tFALSE\t0\t")) << poolCookie.constData();
}

TEST_F(HttpClientTest, AMetaCookieWithADomainGoesOnlyToThePagesHost)
{
    const QString port = QString::number(QUrl(m_service.root()).port());
    const auto at = [&port](const char *host, const char *path) {
        return QStringLiteral("http://%1:%2%3")
            .arg(QString::fromLatin1(host), port, QString::fromLatin1(path));
    };
    getNow(m_client, at("www.localhost", "/meta-cookie?content=wide%3D1%3B%20Domain%3D.localhost"));
    getNow(m_client, at("other.localhost", "/hops/0"));
    getNow(m_client, at("www.localhost", "/hops/0"));

    const QList<FakeRequest> requests = m_service.requests();
    ASSERT_EQ(requests.size(), 3);
    EXPECT_FALSE(requests[1].hasHeader("Cookie")) << requests[1].header("Cookie").constData();
    EXPECT_EQ(requests[2].header("Cookie"), "wide=1");
}

TEST_F(HttpClientTest, ACancelledRequestEndsAtOnceAndIsNeverReported)
{
    m_service.setFailure(FakeVerificationService::Failure::Silent);
    bool reported = false;
    m_client.get(url("/"), [&reported](const HttpOutcome &) { reported = true; });
    EXPECT_TRUE(m_client.isRunning());
    EXPECT_THROW(m_client.get(url("/"), [](const HttpOutcome &) {}), KestranoError);
    // Let the request reach the service before it is cancelled.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_service.requests().isEmpty(); }, 10'000));
    m_client.cancel();
    EXPECT_FALSE(m_client.isRunning());

    m_service.setFailure(FakeVerificationService::Failure::None);
    EXPECT_EQ(getNow(m_client, url("/hops/0")).body, "<html><body>arrived</body></html>");
    EXPECT_FALSE(reported);
}

TEST_F(HttpClientTest, TheCaptchaComesAsPngWhenTheServiceIsToldSo)
{
    m_service.setFailure(FakeVerificationService::Failure::PngCaptcha);
    const HttpAnswer picture = fetchCaptcha();
    EXPECT_EQ(picture.contentType, "image/png");
    EXPECT_TRUE(QImage::fromData(picture.body, "JPEG").isNull());
    EXPECT_FALSE(QImage::fromData(picture.body, "PNG").isNull());
}

TEST_F(HttpClientTest, AQueryWithAnOldCodeOrWithoutCookiesIsRefused)
{
    fetchCaptcha();
    const QString code = m_service.captchaCode();
    query(QStringLiteral("7819631900XXX"), u8s("张三"), code);
    EXPECT_EQ(m_service.lastRejection(), QString());
    query(QStringLiteral("7819631900XXX"), u8s("张三"), code);
    EXPECT_NE(m_service.lastRejection(), QString());

    HttpClient stranger;
    stranger.setAccept(pageAccept);
    postNow(stranger, url("/tsky/validate"), {{QStringLiteral("randCode"), code}});
    EXPECT_NE(m_service.lastRejection(), QString());
}

TEST_F(HttpClientTest, EmptyHeaderValuesSendNoSuchHeader)
{
    m_client.setAccept({});
    m_client.setReferer({});
    m_client.setAcceptEncoding({});
    m_client.setAcceptLanguage({});
    m_client.setUserAgent({});
    getNow(m_client, url("/hops/0"));
    const FakeRequest request = m_service.requests().constLast();
    for (const char *name :
         {"Accept", "Referer", "Accept-Encoding", "Accept-Language", "User-Agent"})
        EXPECT_FALSE(request.hasHeader(name)) << name;
    EXPECT_EQ(request.header("DNT"), "1");
    EXPECT_EQ(request.header("Connection"), "keep-alive");
}

TEST_F(HttpClientTest, AcceptEncodingAlwaysOffersIdentity)
{
    const struct
    {
        const char *set;
        const char *sent;
    } cases[] = {{"gzip, deflate", "gzip, deflate, identity"},
                 {"br", "br, identity"},
                 {"gzip, identity", "gzip, identity"},
                 {"gzip;q=1.0, IDENTITY;q=0.5", "gzip;q=1.0, IDENTITY;q=0.5"},
                 {"x-identity-free", "x-identity-free, identity"},
                 {"", ""}};
    for (const auto &c : cases) {
        m_client.setAcceptEncoding(QString::fromLatin1(c.set));
        EXPECT_EQ(m_client.acceptEncoding(), QString::fromLatin1(c.sent)) << c.set;
    }
    EXPECT_THROW(m_client.setReferer(QStringLiteral("http://a/\r\nOrigin: x")), KestranoError);
}

TEST_F(HttpClientTest, FollowsFifteenRedirectsInARowButNotSixteen)
{
    const HttpAnswer answer = getNow(m_client, url("/hops/15"));
    EXPECT_EQ(answer.url, url("/hops/0"));
    EXPECT_EQ(answer.body, "<html><body>arrived</body></html>");
    EXPECT_EQ(m_service.requests().size(), 16);

    try {
        getNow(m_client, url("/hops/16"));
        ADD_FAILURE() << "sixteen redirects were followed";
    } catch (const KestranoError &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("重定向")))
            << error.message().toStdString();
    }
}

TEST_F(HttpClientTest, EveryFailureThrowsTheClientsDescription)
{
    QString deadRoot;
    {
        const FakeVerificationService gone;
        deadRoot = gone.root();
    }
    using Failure = FakeVerificationService::Failure;
    const struct
    {
        const char *why;
        Failure failure;
        QString url;
        const char *described; // part of the message
    } cases[] = {
        {"error status", Failure::ServerError, url("/"), "服务器 127.0.0.1 回答了 HTTP 错误 500"},
        {"redirect loop", Failure::RedirectLoop, url("/"), "重定向"},
        {"silent server", Failure::Silent, url("/"), "127.0.0.1 在限定时间内没有回答"},
        {"refused connection", Failure::None, deadRoot + QStringLiteral("/"),
         "无法连接到 127.0.0.1"},
        {"no such page", Failure::None, url("/nothing"), "HTTP 错误 404"},
        {"body over the limit", Failure::None, url("/bytes/1001"), "的回答大于 1000 字节"},
    };
    HttpLimits limits;
    limits.silence = std::chrono::seconds(1);
    limits.bodyBytes = 1000;
    m_client.setLimits(limits);
    for (const auto &c : cases) {
        m_service.setFailure(c.failure);
        try {
            getNow(m_client, c.url);
            ADD_FAILURE() << c.why << ": no failure";
        } catch (const KestranoError &error) {
            EXPECT_FALSE(error.message().isEmpty()) << c.why;
            EXPECT_TRUE(error.message().contains(QString::fromUtf8(c.described)))
                << c.why << ": " << error.message().toStdString();
        }
    }
}

TEST_F(HttpClientTest, TheBodyLimitHoldsAlsoForACompressedBody)
{
    HttpLimits limits;
    limits.bodyBytes = 1000;
    m_client.setLimits(limits);
    m_service.setCompression(FakeVerificationService::Compression::Gzip);
    EXPECT_EQ(getNow(m_client, url("/bytes/1000")).body, QByteArray(1000, 'x'));
    EXPECT_THROW(getNow(m_client, url("/bytes/1001")), KestranoError);
    m_service.setCompression(FakeVerificationService::Compression::None);
    EXPECT_EQ(getNow(m_client, url("/bytes/1000")).body.size(), 1000);
}

} // namespace
