#pragma once

#include "net/FormEncoding.h"
#include "net/HttpAnswer.h"

#include <QByteArray>
#include <QString>
#include <chrono>

// How long a request may take and how much it may bring. A silent server
// would otherwise hold the window for good.
struct THttpLimits
{
    std::chrono::milliseconds connect{10'000};
    std::chrono::seconds silence{20}; // receiving nothing for this long fails
    std::chrono::milliseconds whole{60'000};
    qint64 bodyBytes = 8 * 1024 * 1024;
};

// The program's one HTTP client, owned by the main window for its whole life.
// Its cookies live in memory until it is destroyed and are never written to
// disk; they come from Set-Cookie headers and from <meta http-equiv="Set-Cookie">
// of every page received. Every request goes out as HTTP/1.1 with
// "Connection: keep-alive", "DNT: 1", the header values below as last set, no
// Origin and no proxy; at most 15 redirects in a row are followed.
//
// A request that does not end in a 2xx answer throws KestranoError with the
// client's description: curl's text for a transport failure, the status line
// ("HTTP/1.1 500 Internal Server Error") for an error status.
class THttpClient
{
public:
    THttpClient();
    ~THttpClient();

    THttpClient(const THttpClient &) = delete;
    THttpClient &operator=(const THttpClient &) = delete;

    // Header values sent with every later request until changed; an empty
    // value sends no such header. A value holding a line break throws.
    void setAccept(const QString &value);
    void setReferer(const QString &value);
    // ", identity" is appended to a non-empty value that lacks it, so
    // "gzip, deflate" goes out as "gzip, deflate, identity".
    void setAcceptEncoding(const QString &value);
    void setAcceptLanguage(const QString &value);
    void setUserAgent(const QString &value);

    const QString &accept() const { return FAccept; }
    const QString &referer() const { return FReferer; }
    const QString &acceptEncoding() const { return FAcceptEncoding; }
    const QString &acceptLanguage() const { return FAcceptLanguage; }
    const QString &userAgent() const { return FUserAgent; }

    void setLimits(const THttpLimits &limits);
    const THttpLimits &limits() const { return FLimits; }

    THttpAnswer get(const QString &url);
    // The form goes out encoded by encodeForm() as
    // "application/x-www-form-urlencoded".
    THttpAnswer post(const QString &url, const THttpForm &form);

    // The cookies held, as lines of curl's cookie file.
    QList<QByteArray> cookies() const;

private:
    THttpAnswer perform(const QString &url, const QByteArray *formBody);
    QList<QByteArray> requestHeaders(bool isPost) const;
    void takeMetaCookies(const THttpAnswer &answer);

    static size_t receiveBody(char *data, size_t size, size_t count, void *client);
    static size_t receiveHeader(char *data, size_t size, size_t count, void *client);

    void *FCurl = nullptr;
    char FErrorText[256] = {}; // CURL_ERROR_SIZE
    THttpLimits FLimits;
    QString FAccept;
    QString FReferer;
    QString FAcceptEncoding;
    QString FAcceptLanguage;
    QString FUserAgent;

    // The answer being received.
    QByteArray FBody;
    QByteArray FStatusLine;
    bool FBodyTooLarge = false;
};
