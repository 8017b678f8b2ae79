#include "FakeVerificationService.h"

#include <QBuffer>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QSet>
#include <condition_variable>
#include <httplib.h>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <zlib.h>

namespace {

const QByteArray sessionCookie = "JSESSIONID";
const QByteArray poolCookie = "BIGipServerpool_tsky"; // the one set by the meta tag
const QByteArray formType = "application/x-www-form-urlencoded";

std::string str(const QByteArray &bytes)
{
    return bytes.toStdString();
}

QByteArray bytes(const std::string &text)
{
    return QByteArray::fromStdString(text);
}

QByteArray randomText(int length, const char *alphabet)
{
    const int size = int(qstrlen(alphabet));
    QByteArray text;
    for (int i = 0; i < length; ++i)
        text.append(alphabet[QRandomGenerator::global()->bounded(size)]);
    return text;
}

QByteArray compressed(const QByteArray &data, bool gzip)
{
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, gzip ? 15 + 16 : 15, 8,
                 Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&stream, uLong(data.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

QByteArray captchaPicture(const QByteArray &code, const char *format)
{
    QImage image(69, 28, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(QFont(QStringLiteral("Liberation Mono"), 14, QFont::Bold));
    painter.drawText(image.rect(), Qt::AlignCenter, QString::fromLatin1(code));
    painter.end();
    QByteArray picture;
    QBuffer buffer(&picture);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return picture;
}

QByteArray cookieOf(const httplib::Request &request, const QByteArray &name)
{
    for (const QByteArray &pair : bytes(request.get_header_value("Cookie")).split(';')) {
        const qsizetype equals = pair.indexOf('=');
        if (equals > 0 && pair.left(equals).trimmed() == name)
            return pair.mid(equals + 1).trimmed();
    }
    return {};
}

} // namespace

QByteArray FakeRequest::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

bool FakeRequest::hasHeader(const QByteArray &name) const
{
    for (const auto &header : headers) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

class FakeVerificationService::Server
{
public:
    explicit Server(Scheme scheme);
    ~Server();

    QString root() const
    {
        return QStringLiteral("%1://127.0.0.1:%2")
            .arg(m_scheme == Scheme::Https ? QStringLiteral("https") : QStringLiteral("http"))
            .arg(m_port);
    }

    mutable std::mutex m_mutex; // guards the fields below but m_port
    int m_port = 0;
    Failure m_failure = Failure::None;
    Compression m_compression = Compression::None;
    QByteArray m_resultPage;
    QHash<QByteArray, QByteArray> m_codes; // session -> code it expects
    QSet<QByteArray> m_poolValues;
    QByteArray m_lastCode;
    QString m_lastRejection;
    QList<FakeRequest> m_requests;
    int m_loopHops = 0;
    std::chrono::milliseconds m_delay{0};
    bool m_released = false;

private:
    using Handler = std::function<void(const httplib::Request &, httplib::Response &)>;
    Handler route(Handler handler);
    bool answeredByFailure(httplib::Response &response, std::unique_lock<std::mutex> &lock);
    void sendPage(httplib::Response &response, const QByteArray &page, const char *type);
    static void send(httplib::Response &response, const QByteArray &body, const char *type);

    void home(const httplib::Request &request, httplib::Response &response);
    void index(const httplib::Request &request, httplib::Response &response);
    void captcha(const httplib::Request &request, httplib::Response &response);
    void validate(const httplib::Request &request, httplib::Response &response);
    QString rejectionOf(const httplib::Request &request);

    Scheme m_scheme;
    std::unique_ptr<httplib::Server> m_http;
    std::condition_variable m_release;
    std::thread m_thread;
};

FakeVerificationService::Server::Server(Scheme scheme) : m_scheme(scheme)
{
    if (scheme == Scheme::Https) {
        const QByteArray pem = certificateFile().toLocal8Bit();
        auto secure = std::make_unique<httplib::SSLServer>(pem.constData(), pem.constData());
        if (!secure->is_valid())
            throw std::runtime_error("the fake verification service cannot read its certificate");
        m_http = std::move(secure);
    } else {
        m_http = std::make_unique<httplib::Server>();
    }
    using namespace std::placeholders;
    m_http->Get("/", route(std::bind(&Server::home, this, _1, _2)));
    m_http->Get("/index", route(std::bind(&Server::index, this, _1, _2)));
    m_http->Get("/tsky/servlet/CallYanServlet", route(std::bind(&Server::captcha, this, _1, _2)));
    m_http->Post("/tsky/validate", route(std::bind(&Server::validate, this, _1, _2)));
    m_http->Get(R"(/hops/(\d+))",
                route([this](const httplib::Request &request, httplib::Response &response) {
                    const int hops = std::stoi(request.matches[1]);
                    if (hops > 0)
                        response.set_redirect("/hops/" + std::to_string(hops - 1));
                    else
                        sendPage(response, "<html><body>arrived</body></html>", "text/html");
                }));
    m_http->Get(R"(/bytes/(\d+))",
                route([this](const httplib::Request &request, httplib::Response &response) {
                    sendPage(response, QByteArray(std::stoi(request.matches[1]), 'x'),
                             "text/plain");
                }));
    const auto redirect = [](const httplib::Request &request, httplib::Response &response) {
        const std::string status = request.get_param_value("status");
        response.set_redirect(request.get_param_value("to"),
                              status.empty() ? 302 : std::stoi(status));
    };
    m_http->Get("/redirect", route(redirect));
    m_http->Post("/redirect", route(redirect));
    const auto echo = [](const httplib::Request &request, httplib::Response &response) {
        send(response, bytes(request.method + ' ' + request.body), "text/plain");
    };
    m_http->Get("/echo", route(echo));
    m_http->Post("/echo", route(echo));
    m_http->Get("/meta-cookie",
                route([](const httplib::Request &request, httplib::Response &response) {
                    send(response,
                         "<html><head><meta http-equiv=\"Set-Cookie\" content=\"" +
                             bytes(request.get_param_value("content")) +
                             "\"></head><body>cookie</body></html>",
                         "text/html");
                }));
    // Anything else (the addresses of a redirect loop among it) is recorded too.
    const auto notFound = [](const httplib::Request &, httplib::Response &response) {
        response.status = 404;
    };
    m_http->Get(".*", route(notFound));
    m_http->Post(".*", route(notFound));

    // An idle connection holds stop() until it times out; a client still
    // alive when the service goes would otherwise hold it for 5 s.
    m_http->set_keep_alive_timeout(1);
    m_port = m_http->bind_to_any_port("127.0.0.1");
    if (m_port < 0)
        throw std::runtime_error("the fake verification service found no port");
    m_thread = std::thread([this] { m_http->listen_after_bind(); });
    // stop() does nothing to a server that is not listening yet.
    while (!m_http->is_running())
        std::this_thread::yield();
}

FakeVerificationService::Server::~Server()
{
    {
        std::lock_guard lock(m_mutex);
        m_released = true;
    }
    m_release.notify_all();
    m_http->stop();
    m_thread.join();
}

// Every route records its request first and then answers as the failure mode
// says, or by its own handler.
FakeVerificationService::Server::Handler FakeVerificationService::Server::route(Handler handler)
{
    return [this, handler](const httplib::Request &request, httplib::Response &response) {
        FakeRequest record{bytes(request.method),
                           bytes(request.target),
                           bytes(request.version),
                           {},
                           bytes(request.body)};
        for (const auto &[name, value] : request.headers) {
            // cpp-httplib lists the peer's addresses among the headers.
            if (name != "REMOTE_ADDR" && name != "REMOTE_PORT" && name != "LOCAL_ADDR" &&
                name != "LOCAL_PORT")
                record.headers.append({bytes(name), bytes(value)});
        }
        std::unique_lock lock(m_mutex);
        m_requests.append(record);
        if (m_delay.count() > 0)
            m_release.wait_for(lock, m_delay, [this] { return m_released; });
        if (!answeredByFailure(response, lock)) {
            lock.unlock();
            handler(request, response);
        }
    };
}

bool FakeVerificationService::Server::answeredByFailure(httplib::Response &response,
                                                        std::unique_lock<std::mutex> &lock)
{
    switch (m_failure) {
    case Failure::ServerError:
        response.status = 500;
        send(response, "<html><body>Internal Server Error</body></html>", "text/html");
        return true;
    case Failure::RedirectLoop:
        response.set_redirect("/loop/" + std::to_string(++m_loopHops));
        return true;
    case Failure::Silent:
        m_release.wait(lock, [this] { return m_released; });
        return true;
    case Failure::None:
    case Failure::PngCaptcha:
        break;
    }
    return false;
}

void FakeVerificationService::Server::sendPage(httplib::Response &response, const QByteArray &page,
                                               const char *type)
{
    Compression compression;
    {
        std::lock_guard lock(m_mutex);
        compression = m_compression;
    }
    if (compression == Compression::None) {
        send(response, page, type);
        return;
    }
    const bool gzip = compression == Compression::Gzip;
    response.set_header("Content-Encoding", gzip ? "gzip" : "deflate");
    send(response, compressed(page, gzip), type);
}

// A body of known length goes out exactly as given: cpp-httplib would gzip a
// text body set with set_content() on its own.
void FakeVerificationService::Server::send(httplib::Response &response, const QByteArray &body,
                                           const char *type)
{
    if (body.isEmpty()) {
        response.set_header("Content-Type", type);
        response.set_header("Content-Length", "0");
        return;
    }
    auto shared = std::make_shared<QByteArray>(body);
    response.set_content_provider(size_t(body.size()), type,
                                  [shared](size_t offset, size_t length, httplib::DataSink &sink) {
                                      return sink.write(shared->constData() + offset, length);
                                  });
}

void FakeVerificationService::Server::home(const httplib::Request &request,
                                           httplib::Response &response)
{
    std::lock_guard lock(m_mutex);
    const QByteArray session = cookieOf(request, sessionCookie);
    if (!m_codes.contains(session)) {
        const QByteArray fresh = randomText(16, "0123456789ABCDEF");
        m_codes.insert(fresh, {});
        response.set_header("Set-Cookie", str(sessionCookie + '=' + fresh + "; Path=/"));
    }
    response.set_redirect("/index");
}

void FakeVerificationService::Server::index(const httplib::Request &, httplib::Response &response)
{
    const QByteArray pool = randomText(10, "0123456789");
    {
        std::lock_guard lock(m_mutex);
        m_poolValues.insert(pool);
    }
    sendPage(response,
             "<html><head><title>Verification</title>\n"
             "<meta http-equiv=\"Set-Cookie\" content=\"" +
                 poolCookie + '=' + pool + "\">\n</head><body>home</body></html>",
             "text/html");
}

void FakeVerificationService::Server::captcha(const httplib::Request &request,
                                              httplib::Response &response)
{
    if (request.get_param_value("title") != "home") {
        response.status = 404;
        return;
    }
    const QByteArray code = randomText(4, "ABCDEFGHJKLMNPQRSTUVWXYZ23456789");
    bool png = false;
    {
        std::lock_guard lock(m_mutex);
        QByteArray session = cookieOf(request, sessionCookie);
        if (!m_codes.contains(session)) {
            session = randomText(16, "0123456789ABCDEF");
            response.set_header("Set-Cookie", str(sessionCookie + '=' + session + "; Path=/"));
        }
        m_codes.insert(session, code);
        m_lastCode = code;
        png = m_failure == Failure::PngCaptcha;
    }
    send(response, captchaPicture(code, png ? "PNG" : "JPG"), png ? "image/png" : "image/jpeg");
}

void FakeVerificationService::Server::validate(const httplib::Request &request,
                                               httplib::Response &response)
{
    const QString rejection = rejectionOf(request);
    QByteArray page;
    {
        std::lock_guard lock(m_mutex);
        m_lastRejection = rejection;
        page = rejection.isEmpty() ? m_resultPage
                                   : "<html><head><meta charset=\"utf-8\"></head><body>" +
                                         rejection.toUtf8() + "</body></html>";
    }
    sendPage(response, page, "text/html");
}

QString FakeVerificationService::Server::rejectionOf(const httplib::Request &request)
{
    for (const auto &[name, value] : browserHeaders()) {
        if (request.get_header_value(str(name)) != str(value))
            return QStringLiteral("header %1 is \"%2\"")
                .arg(QString::fromLatin1(name),
                     QString::fromStdString(request.get_header_value(str(name))));
    }
    if (request.get_header_value("Referer") != root().toStdString())
        return QStringLiteral("Referer is not the service root");
    if (request.has_header("Origin"))
        return QStringLiteral("the request has an Origin header");
    if (request.get_header_value("Content-Type") != str(formType))
        return QStringLiteral("Content-Type is not %1").arg(QString::fromLatin1(formType));
    for (const char *field : {"goFrom", "validateFlag", "eticketNoORIn", "eticketNo",
                              "passengerName", "passengerName_src", "randCode"}) {
        if (!request.has_param(field))
            return QStringLiteral("the form has no %1").arg(QString::fromLatin1(field));
    }

    std::lock_guard lock(m_mutex);
    const QByteArray session = cookieOf(request, sessionCookie);
    if (session.isEmpty() || !m_codes.contains(session))
        return QStringLiteral("no session cookie");
    if (!m_poolValues.contains(cookieOf(request, poolCookie)))
        return QStringLiteral("no cookie from the meta tag");
    // A code serves one query, right or wrong.
    const QByteArray expected = m_codes.value(session);
    m_codes.insert(session, {});
    const QByteArray typed = bytes(request.get_param_value("randCode"));
    if (expected.isEmpty() || typed.compare(expected, Qt::CaseInsensitive) != 0)
        return QStringLiteral("wrong code \"%1\"").arg(QString::fromUtf8(typed));
    return {};
}

FakeVerificationService::FakeVerificationService(Scheme scheme)
    : m_server(std::make_unique<Server>(scheme))
{}

FakeVerificationService::~FakeVerificationService() = default;

QString FakeVerificationService::root() const
{
    return m_server->root();
}

QString FakeVerificationService::certificateFile()
{
    return QStringLiteral(KESTRANO_FAKE_SERVICE_PEM);
}

void FakeVerificationService::setAnswerDelay(std::chrono::milliseconds delay)
{
    std::lock_guard lock(m_server->m_mutex);
    m_server->m_delay = delay;
}

QList<QPair<QByteArray, QByteArray>> FakeVerificationService::browserHeaders()
{
    return {{"Accept", "text/html, application/xhtml+xml, */*"},
            {"Accept-Encoding", "gzip, deflate, identity"},
            {"Accept-Language", "zh-CN"},
            {"User-Agent", "Mozilla/5.0 (Windows NT 6.1; WOW64; Trident/7.0; rv:11.0) like Gecko"},
            {"DNT", "1"},
            {"Connection", "keep-alive"}};
}

void FakeVerificationService::setFailure(Failure failure)
{
    std::lock_guard lock(m_server->m_mutex);
    m_server->m_failure = failure;
}

void FakeVerificationService::setCompression(Compression compression)
{
    std::lock_guard lock(m_server->m_mutex);
    m_server->m_compression = compression;
}

void FakeVerificationService::setResultPage(const QByteArray &page)
{
    std::lock_guard lock(m_server->m_mutex);
    m_server->m_resultPage = page;
}

QString FakeVerificationService::captchaCode() const
{
    std::lock_guard lock(m_server->m_mutex);
    return QString::fromLatin1(m_server->m_lastCode);
}

QString FakeVerificationService::lastRejection() const
{
    std::lock_guard lock(m_server->m_mutex);
    return m_server->m_lastRejection;
}

QList<FakeRequest> FakeVerificationService::requests() const
{
    std::lock_guard lock(m_server->m_mutex);
    return m_server->m_requests;
}
