#include "FakeVerificationService.h"
#include "RequestToEnd.h"
#include "net/HttpClient.h"
#include "net/RedirectPolicy.h"

#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {

TEST(RedirectPolicy, KeepsTheRequestOnTheServerItWasSentTo)
{
    const struct
    {
        const char *server;
        const char *hops;    // followed in turn; the last one is judged
        const char *refusal; // part of the message, empty: allowed
    } cases[] = {
        {"https://www.travelsky.com", "https://www.travelsky.com/tsky/validate", ""},
        {"https://www.travelsky.com", "https://WWW.TravelSky.com:443/index", ""},
        {"http://www.travelsky.com", "https://www.travelsky.com/", ""},
        {"http://127.0.0.1:8080", "https://127.0.0.1:8080/", ""},
        {"https://www.travelsky.com", "http://www.travelsky.com/", "从 HTTPS 转到普通 HTTP"},
        {"http://www.travelsky.com", "https://www.travelsky.com/ http://www.travelsky.com/",
         "从 HTTPS 转到普通 HTTP"},
        {"https://www.travelsky.com", "https://www.travelsky.com.evil.cn/", "其他主机"},
        {"https://www.travelsky.com", "https://travelsky.com/", "其他主机"},
        {"https://www.travelsky.com", "https://www.travelsky.com:8443/", "其他端口"},
        {"http://www.travelsky.com", "https://www.travelsky.com:8443/", "其他端口"},
        {"https://www.travelsky.com", "https://127.0.0.1/", "本机或内部网络"},
        {"https://www.travelsky.com", "https://[::1]/", "本机或内部网络"},
        {"https://www.travelsky.com", "https://192.168.1.1/", "本机或内部网络"},
        {"https://www.travelsky.com", "https://localhost/", "本机或内部网络"},
        {"http://127.0.0.1:8080", "http://127.0.0.1:8081/", "其他端口"},
        {"https://www.travelsky.com", "ftp://www.travelsky.com/", "非 HTTP"},
        {"https://www.travelsky.com", "file:///etc/passwd", "非 HTTP"},
    };
    for (const auto &c : cases) {
        RedirectPolicy policy{QUrl(QString::fromLatin1(c.server))};
        QString refusal;
        for (const QString &hop : QString::fromLatin1(c.hops).split(u' '))
            refusal = policy.refusal(QUrl(hop));
        if (*c.refusal == '\0')
            EXPECT_EQ(refusal, QString()) << c.server << " -> " << c.hops;
        else
            EXPECT_TRUE(refusal.contains(QString::fromUtf8(c.refusal)))
                << c.server << " -> " << c.hops << ": " << refusal.toStdString();
    }
}

TEST(RedirectPolicy, KnowsLoopbackAndPrivateAddresses)
{
    for (const char *host :
         {"localhost", "a.localhost", "127.0.0.1", "127.8.9.10", "0.0.0.0", "10.1.2.3",
          "172.16.0.1", "172.31.255.255", "192.168.1.1", "169.254.169.254", "100.64.0.1",
          "::", "::1", "fd00::1", "fc12::3", "fe80::1", "::ffff:10.0.0.1", "::ffff:127.0.0.1"})
        EXPECT_TRUE(isLoopbackOrPrivateHost(QString::fromLatin1(host))) << host;
    for (const char *host : {"www.travelsky.com", "8.8.8.8", "172.32.0.1", "192.169.0.1",
                             "2001:db8::1", "::ffff:8.8.8.8", "localhost.com", "1.2.3"})
        EXPECT_FALSE(isLoopbackOrPrivateHost(QString::fromLatin1(host))) << host;
}

// The configured service, a second service on the same machine that nothing
// may reach through a redirect, and an HTTPS service.
class RedirectTest : public ::testing::Test
{
protected:
    RedirectTest()
    {
        m_client.setCertificateAuthorities(FakeVerificationService::certificateFile());
    }

    static QString redirect(const FakeVerificationService &from, const QString &to, int status)
    {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("to"), to);
        query.addQueryItem(QStringLiteral("status"), QString::number(status));
        return from.root() + QStringLiteral("/redirect?") + query.toString(QUrl::FullyEncoded);
    }

    QString otherPort() const { return QString::number(QUrl(m_other.root()).port()); }

    FakeVerificationService m_service;
    FakeVerificationService m_other;
    FakeVerificationService m_secure{FakeVerificationService::Scheme::Https};
    HttpClient m_client;
};

TEST_F(RedirectTest, ARedirectOffTheServerEndsTheRequestBeforeAnythingIsSentThere)
{
    const HttpForm form = {{QStringLiteral("passengerName"), QStringLiteral("ZHANG/SAN")}};
    const struct
    {
        const char *why;
        bool post;
        const FakeVerificationService &from;
        QString to;
        int status;
        const char *refusal;
    } cases[] = {
        {"https to http", false, m_secure, m_other.root() + QStringLiteral("/echo"), 302,
         "从 HTTPS 转到普通 HTTP"},
        {"https to http of the same machine", true, m_secure,
         QStringLiteral("http://127.0.0.1:%1/echo").arg(otherPort()), 307,
         "从 HTTPS 转到普通 HTTP"},
        {"其他主机", false, m_service, QStringLiteral("http://www.example.com/echo"), 301,
         "其他主机"},
        {"loopback, not the server", false, m_service,
         QStringLiteral("http://localhost:%1/echo").arg(otherPort()), 302, "本机或内部网络"},
        {"another service of the server's machine", false, m_service, m_other.root() + u'/', 302,
         "其他端口"},
        {"307 across hosts", true, m_service,
         QStringLiteral("http://localhost:%1/echo").arg(otherPort()), 307, "本机或内部网络"},
        {"308 across hosts", true, m_service, QStringLiteral("http://www.example.com/echo"), 308,
         "其他主机"},
    };
    for (const auto &c : cases) {
        const QString url = redirect(c.from, c.to, c.status);
        const HttpOutcome outcome = outcomeOf([&](HttpClient::Done done) {
            if (c.post)
                m_client.post(url, form, std::move(done));
            else
                m_client.get(url, std::move(done));
        });
        EXPECT_FALSE(outcome.ok) << c.why;
        EXPECT_TRUE(outcome.failure.contains(QString::fromUtf8(c.refusal)))
            << c.why << ": " << outcome.failure.toStdString();
        EXPECT_TRUE(outcome.failure.contains(c.to)) << c.why;
        EXPECT_FALSE(c.from.requests().isEmpty()) << c.why;
    }
    EXPECT_TRUE(m_other.requests().isEmpty());
}

TEST_F(RedirectTest, OnTheServerA307SendsTheFormAgainAndOtherRedirectsGoOnAsAGet)
{
    const HttpForm form = {{QStringLiteral("randCode"), QStringLiteral("AB12")}};
    const struct
    {
        const FakeVerificationService &service;
        int status;
        const char *answer;
    } cases[] = {
        {m_service, 307, "POST randCode=AB12"},
        {m_service, 308, "POST randCode=AB12"},
        {m_service, 302, "GET "},
        {m_service, 303, "GET "},
        {m_secure, 307, "POST randCode=AB12"},
    };
    for (const auto &c : cases) {
        const HttpAnswer answer =
            postNow(m_client, redirect(c.service, QStringLiteral("/echo"), c.status), form);
        EXPECT_EQ(answer.body, QByteArray(c.answer)) << c.status;
        EXPECT_EQ(answer.url, c.service.root() + QStringLiteral("/echo"));
        const FakeRequest last = c.service.requests().constLast();
        EXPECT_EQ(last.hasHeader("Content-Type"), last.method == "POST") << c.status;
    }
}

TEST_F(RedirectTest, AnHttpsServiceIsCheckedAgainstTheTrustedAuthorities)
{
    EXPECT_EQ(getNow(m_client, m_secure.root() + QStringLiteral("/echo")).body, "GET ");

    HttpClient untrusting; // the system's authorities do not know the service's certificate
    const HttpOutcome outcome = outcomeOf([&](HttpClient::Done done) {
        untrusting.get(m_secure.root() + QStringLiteral("/echo"), std::move(done));
    });
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.failure, QStringLiteral("无法与 127.0.0.1 建立安全连接（TLS）"));
}

} // namespace
