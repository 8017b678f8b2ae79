#include "app/TerminationSignals.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>
#include <atomic>

namespace {

std::atomic<bool> quitRequested = false;

// Everything that would hold the quit: the modal boxes and dialogs, closed
// as cancelled, innermost first; then every event loop, nested or not.
void quitNow()
{
    quitRequested = true;
    while (QWidget *modal = QApplication::activeModalWidget()) {
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
        if (QApplication::activeModalWidget() == modal)
            break;
    }
    QCoreApplication::exit(0);
    // Before the program's event loop has begun, exit() finds none to end:
    // the loop ends as soon as it begins.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

} // namespace

bool TerminationSignals::requested()
{
    return quitRequested;
}

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A signal handler may only write to a file descriptor; the event loop reads
// the other end and quits.
int signalPipe[2] = {-1, -1};

// The handler may interrupt code that is about to read errno, so it leaves
// errno as it found it; its end of the pair never blocks, so a burst of
// signals that fills the pair drops bytes instead of hanging the program
// inside the handler (one byte is enough to quit).
void onSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    // Close-on-exec: a program started from here (a print filter, a browser)
    // must not hold the pair, nor be able to end this one through it.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    const int flags = ::fcntl(signalPipe[0], F_GETFL);
    if (flags < 0 || ::fcntl(signalPipe[0], F_SETFL, flags | O_NONBLOCK) != 0) {
        for (int &end : signalPipe) {
            ::close(end);
            end = -1;
        }
        return;
    }
    auto *notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(signalPipe[1], &byte, 1);
        quitNow();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
    for (int &end : signalPipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

#else

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent) {}
TerminationSignals::~TerminationSignals() = default;

#endif
