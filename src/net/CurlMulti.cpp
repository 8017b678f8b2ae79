#include "net/CurlMulti.h"

#include "common/KestranoError.h"

#include <QList>
#include <QSocketNotifier>

TCurlMulti::TCurlMulti(Finished finished)
    : FHandle(curl_multi_init()), FFinished(std::move(finished))
{
    if (!FHandle)
        throw KestranoError(QStringLiteral("The HTTP client could not be started"));
    curl_multi_setopt(FHandle, CURLMOPT_SOCKETFUNCTION, &TCurlMulti::socketChanged);
    curl_multi_setopt(FHandle, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(FHandle, CURLMOPT_TIMERFUNCTION, &TCurlMulti::timeoutChanged);
    curl_multi_setopt(FHandle, CURLMOPT_TIMERDATA, this);
    FTimer.setSingleShot(true);
    connect(&FTimer, &QTimer::timeout, this, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
}

TCurlMulti::~TCurlMulti()
{
    // Closing the kept connections still reports their sockets to
    // socketChanged(), which needs the watches alive.
    curl_multi_cleanup(FHandle);
}

void TCurlMulti::add(CURL *easy)
{
    const CURLMcode code = curl_multi_add_handle(FHandle, easy);
    if (code != CURLM_OK)
        throw KestranoError(QString::fromUtf8(curl_multi_strerror(code)));
}

void TCurlMulti::remove(CURL *easy)
{
    curl_multi_remove_handle(FHandle, easy);
}

int TCurlMulti::socketChanged(CURL *, curl_socket_t socket, int what, void *multi, void *)
{
    auto *self = static_cast<TCurlMulti *>(multi);
    if (what == CURL_POLL_REMOVE)
        self->unwatch(socket);
    else
        self->watch(socket, what & CURL_POLL_IN, what & CURL_POLL_OUT);
    return 0;
}

int TCurlMulti::timeoutChanged(CURLM *, long milliseconds, void *multi)
{
    auto *self = static_cast<TCurlMulti *>(multi);
    // curl must not be called back from here: the timer fires from the event
    // loop, also for a timeout of 0.
    if (milliseconds < 0)
        self->FTimer.stop();
    else
        self->FTimer.start(int(qMin<long>(milliseconds, 24L * 60 * 60 * 1000)));
    return 0;
}

QSocketNotifier *TCurlMulti::notifier(curl_socket_t socket, bool read)
{
    auto *created = new QSocketNotifier(
        qintptr(socket), read ? QSocketNotifier::Read : QSocketNotifier::Write, this);
    const int events = read ? CURL_CSELECT_IN : CURL_CSELECT_OUT;
    connect(created, &QSocketNotifier::activated, this,
            [this, socket, events] { act(socket, events); });
    return created;
}

void TCurlMulti::watch(curl_socket_t socket, bool read, bool write)
{
    Watch &watch = FWatches[socket];
    if (read && !watch.read)
        watch.read = notifier(socket, true);
    if (write && !watch.write)
        watch.write = notifier(socket, false);
    if (watch.read)
        watch.read->setEnabled(read);
    if (watch.write)
        watch.write->setEnabled(write);
}

void TCurlMulti::unwatch(curl_socket_t socket)
{
    const Watch watch = FWatches.take(socket);
    // The notifier may be the one whose signal is being delivered right now.
    for (QSocketNotifier *notifier : {watch.read, watch.write}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
}

void TCurlMulti::act(curl_socket_t socket, int events)
{
    int running = 0;
    curl_multi_socket_action(FHandle, socket, events, &running);
    reportEnded();
}

void TCurlMulti::reportEnded()
{
    QList<QPair<CURL *, CURLcode>> ended;
    int left = 0;
    while (CURLMsg *message = curl_multi_info_read(FHandle, &left)) {
        if (message->msg == CURLMSG_DONE)
            ended.append({message->easy_handle, message->data.result});
    }
    for (const auto &[easy, code] : ended) {
        curl_multi_remove_handle(FHandle, easy);
        FFinished(easy, code);
    }
}
