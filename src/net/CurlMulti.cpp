#include "net/CurlMulti.h"

#include "common/KestranoError.h"
#include "common/Messages.h"

#include <QList>
#include <QSocketNotifier>

CurlMulti::CurlMulti(const CurlLibrary &curl, Finished finished)
    : m_curl(curl), m_handle(curl.multiInit()), m_finished(std::move(finished))
{
    if (!m_handle)
        throw KestranoError(Messages::networkNotStarted());
    m_curl.multiSetopt(m_handle, CURLMOPT_SOCKETFUNCTION, &CurlMulti::socketChanged);
    m_curl.multiSetopt(m_handle, CURLMOPT_SOCKETDATA, this);
    m_curl.multiSetopt(m_handle, CURLMOPT_TIMERFUNCTION, &CurlMulti::timeoutChanged);
    m_curl.multiSetopt(m_handle, CURLMOPT_TIMERDATA, this);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
}

CurlMulti::~CurlMulti()
{
    // Closing the kept connections still reports their sockets to
    // socketChanged(), which needs the watches alive.
    m_curl.multiCleanup(m_handle);
}

void CurlMulti::add(CURL *easy)
{
    const CURLMcode code = m_curl.multiAddHandle(m_handle, easy);
    if (code != CURLM_OK)
        throw KestranoError(Messages::librarySetUpFailed(
            QStringLiteral("libcurl"), QStringLiteral("CURLM %1").arg(int(code))));
}

void CurlMulti::remove(CURL *easy)
{
    m_curl.multiRemoveHandle(m_handle, easy);
}

int CurlMulti::socketChanged(CURL *, curl_socket_t socket, int what, void *multi, void *)
{
    auto *self = static_cast<CurlMulti *>(multi);
    if (what == CURL_POLL_REMOVE)
        self->unwatch(socket);
    else
        self->watch(socket, what & CURL_POLL_IN, what & CURL_POLL_OUT);
    return 0;
}

int CurlMulti::timeoutChanged(CURLM *, long milliseconds, void *multi)
{
    auto *self = static_cast<CurlMulti *>(multi);
    // curl must not be called back from here: the timer fires from the event
    // loop, also for a timeout of 0.
    if (milliseconds < 0)
        self->m_timer.stop();
    else
        self->m_timer.start(int(qMin<long>(milliseconds, 24L * 60 * 60 * 1000)));
    return 0;
}

QSocketNotifier *CurlMulti::notifier(curl_socket_t socket, bool read)
{
    auto *created = new QSocketNotifier(
        qintptr(socket), read ? QSocketNotifier::Read : QSocketNotifier::Write, this);
    const int events = read ? CURL_CSELECT_IN : CURL_CSELECT_OUT;
    connect(created, &QSocketNotifier::activated, this,
            [this, socket, events] { act(socket, events); });
    return created;
}

void CurlMulti::watch(curl_socket_t socket, bool read, bool write)
{
    Watch &watch = m_watches[socket];
    if (read && !watch.read)
        watch.read = notifier(socket, true);
    if (write && !watch.write)
        watch.write = notifier(socket, false);
    if (watch.read)
        watch.read->setEnabled(read);
    if (watch.write)
        watch.write->setEnabled(write);
}

void CurlMulti::unwatch(curl_socket_t socket)
{
    const Watch watch = m_watches.take(socket);
    // The notifier may be the one whose signal is being delivered right now.
    for (QSocketNotifier *notifier : {watch.read, watch.write}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
}

void CurlMulti::act(curl_socket_t socket, int events)
{
    int running = 0;
    m_curl.multiSocketAction(m_handle, socket, events, &running);
    reportEnded();
}

void CurlMulti::reportEnded()
{
    QList<QPair<CURL *, CURLcode>> ended;
    int left = 0;
    while (CURLMsg *message = m_curl.multiInfoRead(m_handle, &left)) {
        if (message->msg == CURLMSG_DONE)
            ended.append({message->easy_handle, message->data.result});
    }
    for (const auto &[easy, code] : ended) {
        m_curl.multiRemoveHandle(m_handle, easy);
        m_finished(easy, code);
    }
}
