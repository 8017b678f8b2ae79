#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <optional>

#ifdef KESTRANO_START_AND_WATCH
// The program started as its entry starts it on a program folder of the
// test's (start_and_watch), telling line by line what the user would see.
class RunningProgram
{
public:
    RunningProgram(const QString &folder, const QStringList &arguments = {},
                   const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
    {
        FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        FProcess.setProcessEnvironment(environment);
        FProcess.start(QStringLiteral(KESTRANO_START_AND_WATCH), QStringList{folder} + arguments);
    }

    ~RunningProgram()
    {
        if (FProcess.state() != QProcess::NotRunning) {
            FProcess.kill();
            FProcess.waitForFinished(5000);
        }
    }

    // The first line the program says that begins with prefix, without the
    // prefix; empty when none comes.
    QString waitForLine(const QString &prefix) { return lineStartingWith(prefix).value_or(QString()); }

    // True once the main window shows.
    bool waitForWindow() { return lineStartingWith(QStringLiteral("window")).has_value(); }

    // Sends SIGTERM; the milliseconds until the program had ended, -1 when it
    // had not within five seconds.
    qint64 terminate()
    {
        QElapsedTimer took;
        took.start();
        FProcess.terminate();
        if (!FProcess.waitForFinished(5000))
            return -1;
        return took.elapsed();
    }

    QProcess &process() { return FProcess; }

private:
    std::optional<QString> lineStartingWith(const QString &prefix)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 60'000) {
            while (FProcess.canReadLine()) {
                const QString line = QString::fromUtf8(FProcess.readLine()).trimmed();
                if (line.startsWith(prefix))
                    return line.mid(prefix.size());
            }
            if (!FProcess.waitForReadyRead(1000) && FProcess.state() == QProcess::NotRunning)
                break;
        }
        return std::nullopt;
    }

    QProcess FProcess;
};
#endif
