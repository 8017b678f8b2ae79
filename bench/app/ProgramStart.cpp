#include "ProgramStart.h"

#include "ProgramFolder.h"

#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

using Clock = FirstPaintWatch::Clock;

constexpr auto paintDeadline = std::chrono::seconds(15);
// Long enough for the paints that follow the first (a second flush, a blinking
// cursor is 500 ms apart and so ends the wait).
constexpr auto quietScreen = std::chrono::milliseconds(300);

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The environment of this process with the X platform asked for.
std::vector<std::string> programEnvironment()
{
    std::vector<std::string> variables;
    for (char **variable = environ; *variable; ++variable) {
        if (std::strncmp(*variable, "QT_QPA_PLATFORM=", 16) != 0)
            variables.emplace_back(*variable);
    }
    variables.emplace_back("QT_QPA_PLATFORM=xcb");
    return variables;
}

struct Ended
{
    int status = 0;
    rusage usage{};
};

Ended reap(pid_t pid)
{
    Ended ended;
    while (wait4(pid, &ended.status, 0, &ended.usage) < 0) {
        if (errno != EINTR)
            throw std::runtime_error("lost the program's process");
    }
    return ended;
}

std::string outputOf(const ProgramFolder &folder)
{
    QFile log(folder.file(QStringLiteral("output.log")));
    return log.open(QIODevice::ReadOnly) ? log.readAll().toStdString() : std::string();
}

} // namespace

ProgramStart startProgram(const ProgramFolder &folder, FirstPaintWatch &watch)
{
    const std::string executable = QFile::encodeName(folder.executable()).toStdString();
    const std::string log =
        QFile::encodeName(folder.file(QStringLiteral("output.log"))).toStdString();
    std::vector<std::string> variables = programEnvironment();
    std::vector<char *> environment;
    for (std::string &variable : variables)
        environment.push_back(variable.data());
    environment.push_back(nullptr);
    std::string name = executable;
    char *arguments[] = {name.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);

    watch.reset();
    const Clock::time_point started = Clock::now();
    pid_t pid = 0;
    const int failed =
        posix_spawn(&pid, executable.c_str(), &actions, nullptr, arguments, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0)
        throw std::runtime_error("cannot start " + executable + ": " + std::strerror(failed));

    const FirstPaintWatch::Seen seen = watch.watch(started + paintDeadline, quietScreen);
    if (!seen.painted) {
        kill(pid, SIGKILL);
        reap(pid);
        throw std::runtime_error("the program painted nothing within 15 s; its output:\n" +
                                 outputOf(folder));
    }

    const Clock::time_point quitting = Clock::now();
    kill(pid, SIGTERM);
    const Ended ended = reap(pid);
    const Clock::time_point quit = Clock::now();
    if (!WIFEXITED(ended.status) || WEXITSTATUS(ended.status) != 0)
        throw std::runtime_error("the program did not close in order on SIGTERM; its output:\n" +
                                 outputOf(folder));

    ProgramStart start;
    start.mappedMs = msBetween(started, *seen.mapped);
    start.firstPaintMs = msBetween(started, *seen.painted);
    start.lastPaintMs = msBetween(started, *seen.lastPaint);
    start.quitMs = msBetween(quitting, quit);
    start.peakKiB = ended.usage.ru_maxrss;
    for (const timeval &spent : {ended.usage.ru_utime, ended.usage.ru_stime})
        start.cpuMs += double(spent.tv_sec) * 1000.0 + double(spent.tv_usec) / 1000.0;
    return start;
}
