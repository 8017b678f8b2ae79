#include "net/CurlMulti.h"

#include "common/KestranoError.h"
#include "common/Messages.h"

#include <QList>
#include <QSocketNotifier>

TCurlMulti::TCurlMulti(const TCurlLibrary &curl, Finished finished)
    : FCurl(curl), FHandle(curl.multiInit()), FFinished(std::move(finished))
{
    if (!FHandle)
        throw KestranoError(Messages::networkNotStarted());
    FCurl.multiSetopt(FHandle, CURLMOPT_SOCKETFUNCTION, &TCurlMulti::socketChanged);
    FCurl.multiSetopt(FHandle, CURLMOPT_SOCKETDATA, this);
    FCurl.multiSetopt(FHandle, CURLMOPT_TIMERFUNCTION, &TCurlMulti::timeoutChanged);
    FCurl.multiSetopt(FHandle, CURLMOPT_TIMERDATA, this);
    FTimer.setSingleShot(true);
    connect(&FTimer, &QTimer::timeout, this, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
}

TCurlMulti::~TCurlMulti()
{
    // Closing the kept connections still reports their sockets to
    // socketChanged(), which needs the watches alive.
    FCurl.multiCleanup(FHandle);
}

void TCurlMulti::add(CURL *easy)
{
    const CURLMcode code = FCurl.multiAddHandle(FHandle, easy);
    if (code != CURLM_OK)
        throw KestranoError(Messages::librarySetUpFailed(QStringLiteral("libcurl"),
                                                         QStringLiteral("CURLM %1").arg(int(code))));
}

void TCurlMulti::remove(CURL *easy)
{
    FCurl.multiRemoveHandle(FHandle, easy);
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
    FCurl.multiSocketAction(FHandle, socket, events, &running);
    reportEnded();
}

void TCurlMulti::reportEnded()
{
    QList<QPair<CURL *, CURLcode>> ended;
    int left = 0;
    while (CURLMsg *message = FCurl.multiInfoRead(FHandle, &left)) {
        if (message->msg == CURLMSG_DONE)
            ended.append({message->easy_handle, message->data.result});
    }
    for (const auto &[easy, code] : ended) {
        FCurl.multiRemoveHandle(FHandle, easy);
        FFinished(easy, code);
    }
}
