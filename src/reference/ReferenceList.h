#pragma once

#include <QString>
#include <QStringList>

// A code=name list read from "city.txt" or "air.txt" beside the program.
// Entries keep the order of the file's lines; nothing is sorted or merged.
class ReferenceList
{
public:
    // "city.txt": the first three characters of a line are the code as they
    // stand, the trimmed rest is the name; stored as "code=name".
    void loadCityFile(const QString &path);
    // "air.txt": each trimmed line is stored as it stands and must already
    // read "code=name" to be found.
    void loadAirFile(const QString &path);

    // The text after the first "=" of the first entry whose text before it
    // equals code without regard to case; empty when none does.
    QString lookup(const QString &code) const;

    const QStringList &entries() const { return m_entries; }

private:
    enum class LineForm { City, Airline };
    void load(const QString &path, LineForm form);

    QStringList m_entries;
};
