#pragma once

#include "net/FormEncoding.h"
#include "net/HttpAnswer.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>

class CurlLibrary;
class CurlMulti;
class RedirectPolicy;

// How long a request may take and how much it may bring. A silent server
// would otherwise keep the request going for good.
struct HttpLimits
{
    std::chrono::milliseconds connect{10'000};
    std::chrono::seconds silence{20};        // receiving nothing for this long fails
    std::chrono::milliseconds whole{60'000}; // the request with all its redirects
    qint64 bodyBytes = 8 * 1024 * 1024;
};

// How a request ended: its 2xx answer, or the client's description of the
// failure: curl's text for a transport failure, the status line
// ("HTTP/1.1 500 Internal Server Error") for an error status, or why a
// redirect was not followed.
struct HttpOutcome
{
    bool ok = false;
    HttpAnswer answer; // when ok
    QString failure;   // when not
};

// The program's one HTTP client, owned by the main window for its whole life.
// Making one costs nothing: libcurl is loaded and the client's handles made
// at its first request (CurlLibrary), which throws KestranoError when libcurl
// is missing. Its cookies live in memory until it is destroyed and are never
// written to disk; they come from Set-Cookie headers and from
// <meta http-equiv="Set-Cookie"> of every page received. Every request goes out as HTTP/1.1 with
// "Connection: keep-alive", "DNT: 1", the header values below as last set, no
// Origin and no proxy.
//
// A request runs from the event loop of the thread that owns the client and
// never blocks it; one request runs at a time. Redirects are followed, at
// most 15 in a row, only while they stay on the server the request was sent
// to (RedirectPolicy); a 307 or 308 sends the form again, any other redirect
// of a form goes on as a GET.
class HttpClient
{
public:
    // Called from the event loop, never from inside get() or post().
    using Done = std::function<void(const HttpOutcome &)>;

    HttpClient();
    ~HttpClient();

    HttpClient(const HttpClient &) = delete;
    HttpClient &operator=(const HttpClient &) = delete;

    // Header values sent with every later request until changed; an empty
    // value sends no such header. A value holding a line break throws.
    void setAccept(const QString &value);
    void setReferer(const QString &value);
    // ", identity" is appended to a non-empty value that lacks it, so
    // "gzip, deflate" goes out as "gzip, deflate, identity".
    void setAcceptEncoding(const QString &value);
    void setAcceptLanguage(const QString &value);
    void setUserAgent(const QString &value);

    const QString &accept() const { return m_accept; }
    const QString &referer() const { return m_referer; }
    const QString &acceptEncoding() const { return m_acceptEncoding; }
    const QString &acceptLanguage() const { return m_acceptLanguage; }
    const QString &userAgent() const { return m_userAgent; }

    // Both hold from the next request on.
    void setLimits(const HttpLimits &limits);
    const HttpLimits &limits() const { return m_limits; }

    // The certificate authorities that HTTPS servers are checked against, as
    // a PEM file, instead of the system's (tests trust their own service).
    void setCertificateAuthorities(const QString &pemFile);

    // Start a request; done follows when it ends. Throws KestranoError while
    // another request runs.
    void get(const QString &url, Done done);
    // The form goes out encoded by encodeForm() as
    // "application/x-www-form-urlencoded".
    void post(const QString &url, const HttpForm &form, Done done);

    bool isRunning() const { return bool(m_done); }
    // Ends the running request at once; its done is never called.
    void cancel();

    // The cookies held, as lines of curl's cookie file.
    QList<QByteArray> cookies() const;

private:
    void open();
    void applySettings();
    void start(const QString &url, const QByteArray *formBody, Done done);
    void startHop(const QString &url);
    void hopEnded(int code);
    void end(HttpOutcome outcome);
    HttpOutcome answerOfHop(int code, QString *redirect);
    QList<QByteArray> requestHeaders(bool isPost) const;
    void takeMetaCookies(const HttpAnswer &answer);

    static size_t receiveBody(char *data, size_t size, size_t count, void *client);
    static size_t receiveHeader(char *data, size_t size, size_t count, void *client);

    const CurlLibrary *m_library = nullptr; // with the handles, from the first request
    void *m_curl = nullptr;
    std::unique_ptr<CurlMulti> m_multi;
    HttpLimits m_limits;
    QString m_accept;
    QString m_referer;
    QString m_acceptEncoding;
    QString m_acceptLanguage;
    QString m_userAgent;
    QByteArray m_certificateAuthorities;

    // The request running.
    Done m_done;
    quint64 m_request = 0; // counts requests, so that a cancelled one is never reported
    QString m_url;
    QByteArray m_formBody;
    bool m_posting = false;
    int m_redirects = 0;
    std::unique_ptr<RedirectPolicy> m_policy;
    QElapsedTimer m_started;
    void *m_headers = nullptr; // curl_slist of the hop running

    // The answer being received.
    QByteArray m_body;
    bool m_bodyTooLarge = false;
};
