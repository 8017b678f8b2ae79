#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class ItineraryFields;

// Keeps the remembered entries on disk while the agent works: once the
// fields have been still for a second after a change, the whole receipt is
// written in one replacement of the settings file, as at exit. A crash or a
// power cut then loses at most the last second of typing.
class EntriesAutoSave : public QObject
{
    Q_OBJECT

public:
    static constexpr int quietMilliseconds = 1000;

    // failed is told the reason when a save fails; it is told again only
    // after a save has succeeded in between, so a disk that stays full does
    // not raise a box every second.
    EntriesAutoSave(ItineraryFields &fields, const QString &settingsFolder,
                    std::function<void(const QString &)> failed, QObject *parent = nullptr);

    bool pending() const { return m_quiet.isActive(); }

private:
    void save();

    ItineraryFields &m_fields;
    QString m_settingsFolder;
    std::function<void(const QString &)> m_failed;
    QTimer m_quiet;
    bool m_failing = false;
};
