#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class TItineraryFields;

// Keeps the remembered entries on disk while the agent works: once the
// fields have been still for a second after a change, the whole receipt is
// written in one replacement of the settings file, as at exit. A crash or a
// power cut then loses at most the last second of typing.
class TEntriesAutoSave : public QObject
{
    Q_OBJECT

public:
    static constexpr int quietMilliseconds = 1000;

    // failed is told the reason when a save fails; it is told again only
    // after a save has succeeded in between, so a disk that stays full does
    // not raise a box every second.
    TEntriesAutoSave(TItineraryFields &fields, const QString &settingsFolder,
                     std::function<void(const QString &)> failed, QObject *parent = nullptr);

    bool pending() const { return FQuiet.isActive(); }

private:
    void save();

    TItineraryFields &FFields;
    QString FSettingsFolder;
    std::function<void(const QString &)> FFailed;
    QTimer FQuiet;
    bool FFailing = false;
};
