#include "net/HttpClient.h"

#include "common/KestranoError.h"
#include "common/Messages.h"
#include "net/CurlLibrary.h"
#include "net/CurlMulti.h"
#include "net/HtmlHead.h"
#include "net/MetaCookie.h"
#include "net/RedirectPolicy.h"

#include <QDateTime>
#include <QUrl>

constexpr int maxRedirects = 15;

namespace {

CURL *handle(void *curl)
{
    return static_cast<CURL *>(curl);
}

// What went wrong with a transfer, in the user's words: libcurl's own
// descriptions are English.
QString transferFailure(CURLcode code, const QString &host)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return Messages::hostNotFound(host);
    case CURLE_COULDNT_CONNECT:
        return Messages::connectionRefused(host);
    case CURLE_OPERATION_TIMEDOUT:
        return Messages::timedOut(host);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_USE_SSL_FAILED:
        return Messages::secureConnectionFailed(host);
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
        return Messages::connectionBroken(host);
    case CURLE_OUT_OF_MEMORY:
        return Messages::outOfMemory();
    default:
        return Messages::networkFailed(host, int(code));
    }
}

void assertOneLine(const QString &value)
{
    if (value.contains(u'\r') || value.contains(u'\n'))
        throw KestranoError(Messages::headerWithLineBreak(value.simplified()));
}

bool namesIdentity(const QString &acceptEncoding)
{
    for (const QString &coding : acceptEncoding.split(u',')) {
        const QString name = coding.section(u';', 0, 0).trimmed();
        if (name.compare(QStringLiteral("identity"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// "Name: value", or "Name:" for an empty value, which also keeps curl from
// sending a value of its own (it would send "Accept: */*").
QByteArray headerLine(const char *name, const QString &value)
{
    QByteArray line(name);
    line += ':';
    if (!value.isEmpty())
        line += ' ' + value.toUtf8();
    return line;
}

QString sizeText(qint64 bytes)
{
    const qint64 mebibyte = 1024 * 1024;
    if (bytes > 0 && bytes % mebibyte == 0)
        return QStringLiteral("%1 MiB").arg(bytes / mebibyte);
    return QStringLiteral("%1 字节").arg(bytes);
}

} // namespace

// Nothing of curl is loaded or made here: the window holds its client from
// the start, and most sessions may never send a request.
HttpClient::HttpClient() = default;

HttpClient::~HttpClient()
{
    if (!m_curl)
        return;
    cancel();
    // The kept connections close with the multi handle, before the easy one.
    m_multi.reset();
    m_library->easyCleanup(handle(m_curl));
}

// The handles live from the first request to the end of the client, so that
// its connections and cookies are kept from one request to the next.
void HttpClient::open()
{
    if (m_curl)
        return;
    const CurlLibrary &library = CurlLibrary::instance();
    auto multi =
        std::make_unique<CurlMulti>(library, [this](CURL *, CURLcode code) { hopEnded(code); });
    CURL *curl = library.easyInit();
    if (!curl)
        throw KestranoError(Messages::networkNotStarted());
    m_library = &library;
    m_multi = std::move(multi);
    m_curl = curl;
    const auto setopt = library.easySetopt;
    setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // An empty file name starts curl's cookie engine with nothing on disk;
    // without a cookie jar nothing is ever written.
    setopt(curl, CURLOPT_COOKIEFILE, "");
    // Redirects are followed here, one hop at a time, so that every hop is
    // checked before anything is sent to it.
    setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    setopt(curl, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    // No proxy, also when the environment names one.
    setopt(curl, CURLOPT_PROXY, "");
    // Decode every content coding curl knows. Our own Accept-Encoding header
    // replaces the one curl would send for this, so the wire shows our value.
    setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    setopt(curl, CURLOPT_WRITEFUNCTION, &HttpClient::receiveBody);
    setopt(curl, CURLOPT_WRITEDATA, this);
    setopt(curl, CURLOPT_HEADERFUNCTION, &HttpClient::receiveHeader);
    setopt(curl, CURLOPT_HEADERDATA, this);
}

// The limits and authorities as last set, for the request about to start.
void HttpClient::applySettings()
{
    CURL *curl = handle(m_curl);
    const auto setopt = m_library->easySetopt;
    setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(m_limits.connect.count()));
    setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    setopt(curl, CURLOPT_LOW_SPEED_TIME, long(m_limits.silence.count()));
    // Stops an announced oversized body before it comes; receiveBody() stops
    // one that is not announced or grows when decompressed.
    setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(m_limits.bodyBytes));
    setopt(curl, CURLOPT_CAINFO,
           m_certificateAuthorities.isEmpty() ? nullptr : m_certificateAuthorities.constData());
}

void HttpClient::setAccept(const QString &value)
{
    assertOneLine(value);
    m_accept = value;
}

void HttpClient::setReferer(const QString &value)
{
    assertOneLine(value);
    m_referer = value;
}

void HttpClient::setAcceptEncoding(const QString &value)
{
    assertOneLine(value);
    m_acceptEncoding =
        value.isEmpty() || namesIdentity(value) ? value : value + QStringLiteral(", identity");
}

void HttpClient::setAcceptLanguage(const QString &value)
{
    assertOneLine(value);
    m_acceptLanguage = value;
}

void HttpClient::setUserAgent(const QString &value)
{
    assertOneLine(value);
    m_userAgent = value;
}

void HttpClient::setLimits(const HttpLimits &limits)
{
    m_limits = limits;
}

void HttpClient::setCertificateAuthorities(const QString &pemFile)
{
    m_certificateAuthorities = pemFile.toLocal8Bit();
}

void HttpClient::get(const QString &url, Done done)
{
    start(url, nullptr, std::move(done));
}

void HttpClient::post(const QString &url, const HttpForm &form, Done done)
{
    const QByteArray body = encodeForm(form);
    start(url, &body, std::move(done));
}

void HttpClient::cancel()
{
    if (!m_done)
        return;
    m_multi->remove(handle(m_curl));
    m_library->easySetopt(handle(m_curl), CURLOPT_HTTPHEADER, nullptr);
    m_library->slistFreeAll(static_cast<curl_slist *>(m_headers));
    m_headers = nullptr;
    m_done = nullptr;
    m_policy.reset();
    ++m_request;
}

QList<QByteArray> HttpClient::cookies() const
{
    QList<QByteArray> lines;
    if (!m_curl)
        return lines; // no request yet, so no cookie either
    curl_slist *list = nullptr;
    if (m_library->easyGetinfo(handle(m_curl), CURLINFO_COOKIELIST, &list) == CURLE_OK) {
        for (const curl_slist *item = list; item; item = item->next)
            lines.append(QByteArray(item->data));
    }
    m_library->slistFreeAll(list);
    return lines;
}

QList<QByteArray> HttpClient::requestHeaders(bool isPost) const
{
    QList<QByteArray> lines = {
        headerLine("Accept", m_accept),
        headerLine("Referer", m_referer),
        headerLine("Accept-Encoding", m_acceptEncoding),
        headerLine("Accept-Language", m_acceptLanguage),
        headerLine("User-Agent", m_userAgent),
        "Connection: keep-alive",
        "DNT: 1",
        // The form is small; waiting for "100 Continue" would only add a pause.
        "Expect:",
    };
    if (isPost)
        lines.append("Content-Type: application/x-www-form-urlencoded");
    return lines;
}

void HttpClient::start(const QString &url, const QByteArray *formBody, Done done)
{
    if (m_done)
        throw KestranoError(Messages::requestStillRunning());
    open();
    applySettings();
    ++m_request;
    m_done = std::move(done);
    m_posting = formBody != nullptr;
    m_formBody = formBody ? *formBody : QByteArray();
    m_redirects = 0;
    m_policy = std::make_unique<RedirectPolicy>(QUrl(url));
    m_started.start();
    startHop(url);
}

void HttpClient::startHop(const QString &url)
{
    CURL *curl = handle(m_curl);
    m_url = url;
    m_body.clear();
    m_bodyTooLarge = false;

    curl_slist *headers = nullptr;
    for (const QByteArray &line : requestHeaders(m_posting)) {
        curl_slist *longer = m_library->slistAppend(headers, line.constData());
        if (!longer) {
            m_library->slistFreeAll(headers);
            end({false, {}, Messages::outOfMemory()});
            return;
        }
        headers = longer;
    }
    m_library->slistFreeAll(static_cast<curl_slist *>(m_headers));
    m_headers = headers;
    m_library->easySetopt(curl, CURLOPT_URL, url.toUtf8().constData());
    m_library->easySetopt(curl, CURLOPT_HTTPHEADER, headers);
    if (m_posting) {
        m_library->easySetopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(m_formBody.size()));
        m_library->easySetopt(curl, CURLOPT_COPYPOSTFIELDS, m_formBody.constData());
    } else {
        m_library->easySetopt(curl, CURLOPT_HTTPGET, 1L);
    }
    // The whole request, redirects and all, keeps to one time limit.
    const qint64 left = qint64(m_limits.whole.count()) - m_started.elapsed();
    m_library->easySetopt(curl, CURLOPT_TIMEOUT_MS, long(qMax<qint64>(left, 1)));
    try {
        m_multi->add(curl);
    } catch (const KestranoError &error) {
        end({false, {}, error.message()});
    }
}

void HttpClient::hopEnded(int code)
{
    QString redirect;
    HttpOutcome outcome = answerOfHop(code, &redirect);
    if (redirect.isEmpty()) {
        end(std::move(outcome));
        return;
    }
    if (m_redirects == maxRedirects) {
        end({false, {}, Messages::tooManyRedirects(QUrl(m_url).host(), maxRedirects)});
        return;
    }
    const QString refusal = m_policy->refusal(QUrl(redirect));
    if (!refusal.isEmpty()) {
        end({false, {}, refusal});
        return;
    }
    long status = 0;
    m_library->easyGetinfo(handle(m_curl), CURLINFO_RESPONSE_CODE, &status);
    // As browsers do: only 307 and 308 ask for the form to be sent again.
    if (status != 307 && status != 308)
        m_posting = false;
    ++m_redirects;
    startHop(redirect);
}

// Reported from the event loop, so that whoever waits runs outside curl's
// socket handling; the request counts as running until then.
void HttpClient::end(HttpOutcome outcome)
{
    m_library->easySetopt(handle(m_curl), CURLOPT_HTTPHEADER, nullptr);
    m_library->slistFreeAll(static_cast<curl_slist *>(m_headers));
    m_headers = nullptr;
    m_policy.reset();
    const quint64 request = m_request;
    QMetaObject::invokeMethod(
        m_multi.get(),
        [this, request, outcome = std::move(outcome)] {
            if (request != m_request || !m_done)
                return; // cancelled meanwhile
            const Done done = std::move(m_done);
            m_done = nullptr;
            done(outcome);
        },
        Qt::QueuedConnection);
}

HttpOutcome HttpClient::answerOfHop(int result, QString *redirect)
{
    CURL *curl = handle(m_curl);
    const auto code = CURLcode(result);
    if (m_bodyTooLarge || code == CURLE_FILESIZE_EXCEEDED)
        return {false, {}, Messages::answerTooLarge(m_url, sizeText(m_limits.bodyBytes))};
    if (code != CURLE_OK) {
        return {false, {}, transferFailure(code, QUrl(m_url).host())};
    }

    long status = 0;
    m_library->easyGetinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    const char *location = nullptr;
    if (status >= 300 && status <= 399 &&
        m_library->easyGetinfo(curl, CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location) {
        *redirect = QString::fromUtf8(location);
        return {};
    }
    if (status < 200 || status > 299) {
        return {false, {}, Messages::httpError(QUrl(m_url).host(), int(status))};
    }

    HttpAnswer answer;
    answer.status = int(status);
    const char *contentType = nullptr;
    m_library->easyGetinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
    answer.contentType = QByteArray(contentType);
    const char *effectiveUrl = nullptr;
    m_library->easyGetinfo(curl, CURLINFO_EFFECTIVE_URL, &effectiveUrl);
    answer.url = QString::fromUtf8(effectiveUrl);
    answer.body = std::move(m_body);
    m_body.clear();
    takeMetaCookies(answer);
    return {true, std::move(answer), {}};
}

void HttpClient::takeMetaCookies(const HttpAnswer &answer)
{
    if (!isHtmlAnswer(answer.contentType))
        return;
    const QUrl page(answer.url);
    for (const HtmlMeta &meta : headMetaTags(answer.body)) {
        if (meta.value("http-equiv").trimmed().toLower() != "set-cookie")
            continue;
        const QByteArray line =
            metaCookieLine(meta.value("content"), page, QDateTime::currentSecsSinceEpoch());
        if (!line.isEmpty())
            m_library->easySetopt(handle(m_curl), CURLOPT_COOKIELIST, line.constData());
    }
}

size_t HttpClient::receiveBody(char *data, size_t size, size_t count, void *client)
{
    auto *self = static_cast<HttpClient *>(client);
    const size_t bytes = size * count;
    if (self->m_body.size() + qint64(bytes) > self->m_limits.bodyBytes) {
        self->m_bodyTooLarge = true;
        return 0; // curl ends the transfer with a write error
    }
    self->m_body.append(data, qsizetype(bytes));
    return bytes;
}

size_t HttpClient::receiveHeader(char *data, size_t size, size_t count, void *client)
{
    auto *self = static_cast<HttpClient *>(client);
    const size_t bytes = size * count;
    const QByteArray line(data, qsizetype(bytes));
    // Every answer of a redirect chain starts with its status line; the last
    // one's body is the one we report.
    if (line.startsWith("HTTP/"))
        self->m_body.clear();
    return bytes;
}
