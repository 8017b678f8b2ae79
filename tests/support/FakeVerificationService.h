#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <chrono>
#include <memory>

// One request as the fake service received it.
struct FakeRequest
{
    QByteArray method;
    QByteArray target;  // path and query
    QByteArray version; // "HTTP/1.1"
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    // The first value of the header, name without regard to case; empty when absent.
    QByteArray header(const QByteArray &name) const;
    bool hasHeader(const QByteArray &name) const;
};

// The verification service in the test's own process: an HTTP server on
// 127.0.0.1, on a port the system chooses, answering from a thread of its own
// for as long as the object lives. It behaves like the real service:
//
//   GET  "/"       starts a session: Set-Cookie JSESSIONID, then redirects to "/index"
//   GET  "/index"  a page that sets a second cookie by <meta http-equiv="Set-Cookie">
//   GET  "/tsky/servlet/CallYanServlet?title=home"
//                  a JPEG showing a new 4-character code of the session (captchaCode())
//   POST "/tsky/validate"
//                  the result page given by setResultPage() when the request has
//                  both cookies, the form Content-Type, the headers of a browser
//                  (Accept, Referer = root(), Accept-Encoding "gzip, deflate,
//                  identity", Accept-Language, User-Agent, DNT, keep-alive, no
//                  Origin) and the session's code as randCode; otherwise an error
//                  page, and lastRejection() says why. A code serves one query.
//
// Declare it before the client (or the window owning it): a connection still
// open when the service ends holds its end for up to a second.
//
// More routes serve the client's own tests: "/hops/N" redirects N times
// before it answers, "/bytes/N" answers a page of N bytes, "/redirect?to=URL
// &status=S" (GET or POST) redirects to URL with status S (302 when absent),
// "/echo" (GET or POST) answers "METHOD body", and "/meta-cookie?content=C"
// a page with <meta http-equiv="Set-Cookie" content="C">.
//
// With Scheme::Https the service speaks TLS with the self-signed certificate
// of certificateFile(), issued to 127.0.0.1.
class FakeVerificationService
{
public:
    enum class Scheme { Http, Https };
    enum class Failure {
        None,
        ServerError,  // every request is answered "500 Internal Server Error"
        RedirectLoop, // every request is redirected to a new address, for ever
        Silent,       // every request is accepted and never answered
        PngCaptcha,   // the captcha comes as a PNG picture
    };
    // How pages (not pictures) are sent; the client asks for gzip and deflate.
    enum class Compression { None, Gzip, Deflate };

    explicit FakeVerificationService(Scheme scheme = Scheme::Http);
    ~FakeVerificationService();

    FakeVerificationService(const FakeVerificationService &) = delete;
    FakeVerificationService &operator=(const FakeVerificationService &) = delete;

    // "http://127.0.0.1:<port>" (or https), nothing after the host.
    QString root() const;
    // The PEM file with the certificate of the HTTPS service (and its key).
    static QString certificateFile();
    // The service's own headers a query must carry, for tests that compare.
    static QList<QPair<QByteArray, QByteArray>> browserHeaders();

    void setFailure(Failure failure);
    void setCompression(Compression compression);
    // The bytes of the page a valid query gets; it is served as "text/html"
    // with no charset, so a page in GBK declares it only in a meta tag.
    void setResultPage(const QByteArray &page);
    // Every request is held this long before it is answered (or until the
    // service ends), as a slow service would.
    void setAnswerDelay(std::chrono::milliseconds delay);

    // The code drawn on the last captcha served.
    QString captchaCode() const;
    // Why the last query was refused; empty when it was accepted.
    QString lastRejection() const;
    QList<FakeRequest> requests() const;

private:
    class Server;
    std::unique_ptr<Server> m_server;
};
