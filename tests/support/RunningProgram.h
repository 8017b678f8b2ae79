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
    RunningProgram(
        const QString &folder, const QStringList &arguments = {},
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(KESTRANO_START_AND_WATCH), QStringList{folder} + arguments);
    }

    ~RunningProgram()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // The first line the program says that begins with prefix, without the
    // prefix; empty when none comes.
    QString waitForLine(const QString &prefix)
    {
        return lineStartingWith(prefix).value_or(QString());
    }

    // True once the main window shows.
    bool waitForWindow() { return lineStartingWith(QStringLiteral("window")).has_value(); }

    // Sends SIGTERM; the milliseconds until the program had ended, -1 when it
    // had not within five seconds.
    qint64 terminate()
    {
        QElapsedTimer took;
        took.start();
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            return -1;
        return took.elapsed();
    }

    QProcess &process() { return m_process; }

private:
    std::optional<QString> lineStartingWith(const QString &prefix)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 60'000) {
            while (m_process.canReadLine()) {
                const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
                if (line.startsWith(prefix))
                    return line.mid(prefix.size());
            }
            if (!m_process.waitForReadyRead(1000) && m_process.state() == QProcess::NotRunning)
                break;
        }
        return std::nullopt;
    }

    QProcess m_process;
};
#endif
