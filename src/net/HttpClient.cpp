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
THttpClient::THttpClient() = default;

THttpClient::~THttpClient()
{
    if (!FCurl)
        return;
    cancel();
    // The kept connections close with the multi handle, before the easy one.
    FMulti.reset();
    FLibrary->easyCleanup(handle(FCurl));
}

// The handles live from the first request to the end of the client, so that
// its connections and cookies are kept from one request to the next.
void THttpClient::open()
{
    if (FCurl)
        return;
    const TCurlLibrary &library = TCurlLibrary::instance();
    auto multi =
        std::make_unique<TCurlMulti>(library, [this](CURL *, CURLcode code) { hopEnded(code); });
    CURL *curl = library.easyInit();
    if (!curl)
        throw KestranoError(Messages::networkNotStarted());
    FLibrary = &library;
    FMulti = std::move(multi);
    FCurl = curl;
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
    setopt(curl, CURLOPT_WRITEFUNCTION, &THttpClient::receiveBody);
    setopt(curl, CURLOPT_WRITEDATA, this);
    setopt(curl, CURLOPT_HEADERFUNCTION, &THttpClient::receiveHeader);
    setopt(curl, CURLOPT_HEADERDATA, this);
}

// The limits and authorities as last set, for the request about to start.
void THttpClient::applySettings()
{
    CURL *curl = handle(FCurl);
    const auto setopt = FLibrary->easySetopt;
    setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(FLimits.connect.count()));
    setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    setopt(curl, CURLOPT_LOW_SPEED_TIME, long(FLimits.silence.count()));
    // Stops an announced oversized body before it comes; receiveBody() stops
    // one that is not announced or grows when decompressed.
    setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(FLimits.bodyBytes));
    setopt(curl, CURLOPT_CAINFO,
           FCertificateAuthorities.isEmpty() ? nullptr : FCertificateAuthorities.constData());
}

void THttpClient::setAccept(const QString &value)
{
    assertOneLine(value);
    FAccept = value;
}

void THttpClient::setReferer(const QString &value)
{
    assertOneLine(value);
    FReferer = value;
}

void THttpClient::setAcceptEncoding(const QString &value)
{
    assertOneLine(value);
    FAcceptEncoding =
        value.isEmpty() || namesIdentity(value) ? value : value + QStringLiteral(", identity");
}

void THttpClient::setAcceptLanguage(const QString &value)
{
    assertOneLine(value);
    FAcceptLanguage = value;
}

void THttpClient::setUserAgent(const QString &value)
{
    assertOneLine(value);
    FUserAgent = value;
}

void THttpClient::setLimits(const THttpLimits &limits)
{
    FLimits = limits;
}

void THttpClient::setCertificateAuthorities(const QString &pemFile)
{
    FCertificateAuthorities = pemFile.toLocal8Bit();
}

void THttpClient::get(const QString &url, Done done)
{
    start(url, nullptr, std::move(done));
}

void THttpClient::post(const QString &url, const THttpForm &form, Done done)
{
    const QByteArray body = encodeForm(form);
    start(url, &body, std::move(done));
}

void THttpClient::cancel()
{
    if (!FDone)
        return;
    FMulti->remove(handle(FCurl));
    FLibrary->easySetopt(handle(FCurl), CURLOPT_HTTPHEADER, nullptr);
    FLibrary->slistFreeAll(static_cast<curl_slist *>(FHeaders));
    FHeaders = nullptr;
    FDone = nullptr;
    FPolicy.reset();
    ++FRequest;
}

QList<QByteArray> THttpClient::cookies() const
{
    QList<QByteArray> lines;
    if (!FCurl)
        return lines; // no request yet, so no cookie either
    curl_slist *list = nullptr;
    if (FLibrary->easyGetinfo(handle(FCurl), CURLINFO_COOKIELIST, &list) == CURLE_OK) {
        for (const curl_slist *item = list; item; item = item->next)
            lines.append(QByteArray(item->data));
    }
    FLibrary->slistFreeAll(list);
    return lines;
}

QList<QByteArray> THttpClient::requestHeaders(bool isPost) const
{
    QList<QByteArray> lines = {
        headerLine("Accept", FAccept),
        headerLine("Referer", FReferer),
        headerLine("Accept-Encoding", FAcceptEncoding),
        headerLine("Accept-Language", FAcceptLanguage),
        headerLine("User-Agent", FUserAgent),
        "Connection: keep-alive",
        "DNT: 1",
        // The form is small; waiting for "100 Continue" would only add a pause.
        "Expect:",
    };
    if (isPost)
        lines.append("Content-Type: application/x-www-form-urlencoded");
    return lines;
}

void THttpClient::start(const QString &url, const QByteArray *formBody, Done done)
{
    if (FDone)
        throw KestranoError(Messages::requestStillRunning());
    open();
    applySettings();
    ++FRequest;
    FDone = std::move(done);
    FPosting = formBody != nullptr;
    FFormBody = formBody ? *formBody : QByteArray();
    FRedirects = 0;
    FPolicy = std::make_unique<TRedirectPolicy>(QUrl(url));
    FStarted.start();
    startHop(url);
}

void THttpClient::startHop(const QString &url)
{
    CURL *curl = handle(FCurl);
    FUrl = url;
    FBody.clear();
    FBodyTooLarge = false;

    curl_slist *headers = nullptr;
    for (const QByteArray &line : requestHeaders(FPosting)) {
        curl_slist *longer = FLibrary->slistAppend(headers, line.constData());
        if (!longer) {
            FLibrary->slistFreeAll(headers);
            end({false, {}, Messages::outOfMemory()});
            return;
        }
        headers = longer;
    }
    FLibrary->slistFreeAll(static_cast<curl_slist *>(FHeaders));
    FHeaders = headers;
    FLibrary->easySetopt(curl, CURLOPT_URL, url.toUtf8().constData());
    FLibrary->easySetopt(curl, CURLOPT_HTTPHEADER, headers);
    if (FPosting) {
        FLibrary->easySetopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(FFormBody.size()));
        FLibrary->easySetopt(curl, CURLOPT_COPYPOSTFIELDS, FFormBody.constData());
    } else {
        FLibrary->easySetopt(curl, CURLOPT_HTTPGET, 1L);
    }
    // The whole request, redirects and all, keeps to one time limit.
    const qint64 left = qint64(FLimits.whole.count()) - FStarted.elapsed();
    FLibrary->easySetopt(curl, CURLOPT_TIMEOUT_MS, long(qMax<qint64>(left, 1)));
    try {
        FMulti->add(curl);
    } catch (const KestranoError &error) {
        end({false, {}, error.message()});
    }
}

void THttpClient::hopEnded(int code)
{
    QString redirect;
    THttpOutcome outcome = answerOfHop(code, &redirect);
    if (redirect.isEmpty()) {
        end(std::move(outcome));
        return;
    }
    if (FRedirects == maxRedirects) {
        end({false, {}, Messages::tooManyRedirects(QUrl(FUrl).host(), maxRedirects)});
        return;
    }
    const QString refusal = FPolicy->refusal(QUrl(redirect));
    if (!refusal.isEmpty()) {
        end({false, {}, refusal});
        return;
    }
    long status = 0;
    FLibrary->easyGetinfo(handle(FCurl), CURLINFO_RESPONSE_CODE, &status);
    // As browsers do: only 307 and 308 ask for the form to be sent again.
    if (status != 307 && status != 308)
        FPosting = false;
    ++FRedirects;
    startHop(redirect);
}

// Reported from the event loop, so that whoever waits runs outside curl's
// socket handling; the request counts as running until then.
void THttpClient::end(THttpOutcome outcome)
{
    FLibrary->easySetopt(handle(FCurl), CURLOPT_HTTPHEADER, nullptr);
    FLibrary->slistFreeAll(static_cast<curl_slist *>(FHeaders));
    FHeaders = nullptr;
    FPolicy.reset();
    const quint64 request = FRequest;
    QMetaObject::invokeMethod(
        FMulti.get(),
        [this, request, outcome = std::move(outcome)] {
            if (request != FRequest || !FDone)
                return; // cancelled meanwhile
            const Done done = std::move(FDone);
            FDone = nullptr;
            done(outcome);
        },
        Qt::QueuedConnection);
}

THttpOutcome THttpClient::answerOfHop(int result, QString *redirect)
{
    CURL *curl = handle(FCurl);
    const auto code = CURLcode(result);
    if (FBodyTooLarge || code == CURLE_FILESIZE_EXCEEDED)
        return {false,
                {},
                Messages::answerTooLarge(FUrl, sizeText(FLimits.bodyBytes))};
    if (code != CURLE_OK) {
        return {false, {}, transferFailure(code, QUrl(FUrl).host())};
    }

    long status = 0;
    FLibrary->easyGetinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    const char *location = nullptr;
    if (status >= 300 && status <= 399 &&
        FLibrary->easyGetinfo(curl, CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location) {
        *redirect = QString::fromUtf8(location);
        return {};
    }
    if (status < 200 || status > 299) {
        return {false,
                {},
                Messages::httpError(QUrl(FUrl).host(), int(status))};
    }

    THttpAnswer answer;
    answer.status = int(status);
    const char *contentType = nullptr;
    FLibrary->easyGetinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
    answer.contentType = QByteArray(contentType);
    const char *effectiveUrl = nullptr;
    FLibrary->easyGetinfo(curl, CURLINFO_EFFECTIVE_URL, &effectiveUrl);
    answer.url = QString::fromUtf8(effectiveUrl);
    answer.body = std::move(FBody);
    FBody.clear();
    takeMetaCookies(answer);
    return {true, std::move(answer), {}};
}

void THttpClient::takeMetaCookies(const THttpAnswer &answer)
{
    if (!isHtmlAnswer(answer.contentType))
        return;
    const QUrl page(answer.url);
    for (const THtmlMeta &meta : headMetaTags(answer.body)) {
        if (meta.value("http-equiv").trimmed().toLower() != "set-cookie")
            continue;
        const QByteArray line =
            metaCookieLine(meta.value("content"), page, QDateTime::currentSecsSinceEpoch());
        if (!line.isEmpty())
            FLibrary->easySetopt(handle(FCurl), CURLOPT_COOKIELIST, line.constData());
    }
}

size_t THttpClient::receiveBody(char *data, size_t size, size_t count, void *client)
{
    auto *self = static_cast<THttpClient *>(client);
    const size_t bytes = size * count;
    if (self->FBody.size() + qint64(bytes) > self->FLimits.bodyBytes) {
        self->FBodyTooLarge = true;
        return 0; // curl ends the transfer with a write error
    }
    self->FBody.append(data, qsizetype(bytes));
    return bytes;
}

size_t THttpClient::receiveHeader(char *data, size_t size, size_t count, void *client)
{
    auto *self = static_cast<THttpClient *>(client);
    const size_t bytes = size * count;
    const QByteArray line(data, qsizetype(bytes));
    // Every answer of a redirect chain starts with its status line; the last
    // one's body is the one we report.
    if (line.startsWith("HTTP/"))
        self->FBody.clear();
    return bytes;
}
