#pragma once

#include "net/CurlLibrary.h"

#include <QHash>
#include <QObject>
#include <QTimer>
#include <functional>

class QSocketNotifier;

// Runs curl transfers from the Qt event loop, so that a request never holds
// the thread that shows the window: curl names the sockets to watch and the
// time of its next timeout, socket notifiers and a timer tell it when they
// come. Only the net library includes this header.
class CurlMulti : public QObject
{
public:
    // Called from the event loop with a transfer that ended, already taken
    // out of the multi handle, and curl's result code.
    using Finished = std::function<void(CURL *easy, CURLcode code)>;

    CurlMulti(const CurlLibrary &curl, Finished finished);
    ~CurlMulti() override;

    CurlMulti(const CurlMulti &) = delete;
    CurlMulti &operator=(const CurlMulti &) = delete;

    // Starts the transfer set up on easy; throws KestranoError when curl refuses.
    void add(CURL *easy);
    // Ends the transfer at once, wherever it stands; it is not reported.
    void remove(CURL *easy);

private:
    struct Watch
    {
        QSocketNotifier *read = nullptr;
        QSocketNotifier *write = nullptr;
    };

    static int socketChanged(CURL *easy, curl_socket_t socket, int what, void *multi, void *);
    static int timeoutChanged(CURLM *handle, long milliseconds, void *multi);

    void watch(curl_socket_t socket, bool read, bool write);
    void unwatch(curl_socket_t socket);
    QSocketNotifier *notifier(curl_socket_t socket, bool read);
    void act(curl_socket_t socket, int events);
    void reportEnded();

    const CurlLibrary &m_curl;
    CURLM *m_handle = nullptr;
    Finished m_finished;
    QHash<curl_socket_t, Watch> m_watches;
    QTimer m_timer;
};
