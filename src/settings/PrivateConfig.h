#pragma once

#include "settings/SettingsSnapshot.h"

#include <QList>
#include <QPair>
#include <QString>

// The settings store: "vantrel_cof.ini" in the settings folder, section "COF".
//
// A user makes an instance, reads or writes a few keys and lets it go. Nothing
// is cached between operations: every read looks at the file as it is now and
// every write replaces the whole file before it returns, so two instances (or
// two running copies of the program) see each other's writes key by key. A
// group of reads takes one snapshot() instead, one parse of the file for all.
// Values come back exactly as written (quotes included), cut to 2047
// characters. Absent, empty or non-numeric values read as the defaults below.
//
// The file is never reached through a link, and only a regular file of the
// user's own, at most 1 MiB, is read or replaced: anything else raises
// KestranoError with the reason, and is left as it is.
class PrivateConfig
{
public:
    // Opens the settings file in folder (the program's folder unless given),
    // creating it empty and private (0600) when it does not exist. An
    // instance made with forWriting false must not write.
    explicit PrivateConfig(bool forWriting, const QString &folder = programFolder());

    PrivateConfig(const PrivateConfig &) = delete;
    PrivateConfig &operator=(const PrivateConfig &) = delete;

    static QString programFolder();
    static QString fileName() { return QStringLiteral("vantrel_cof.ini"); }
    QString filePath() const { return m_filePath; }

    static constexpr int maxValueLength = SettingsSnapshot::maxValueLength;

    // The whole file, parsed once. Raises "无法读取设置文件 <path>：<reason>"
    // for a file that is there but refused; no file reads as empty.
    SettingsSnapshot snapshot() const;

    QString getStr(const QString &field) const;
    int getInt(const QString &field) const;   // 0 when absent or not a number
    bool getBool(const QString &field) const; // true when the integer is not 0
    bool getBool(const QString &field, bool defaultValue) const;

    // Each write raises KestranoError "无法写入设置文件 <path>：<reason>"
    // when the file cannot be replaced; the file then keeps its content.
    void setStr(const QString &field, const QString &value);
    void setInt(const QString &field, int nValue);
    void setBool(const QString &field, bool value);

    // Writes several keys in one replacement of the file, in the order given:
    // all of them reach the file, or on a refused write none does.
    using Values = QList<QPair<QString, QString>>;
    void setStrs(const Values &values);

private:
    void assertCanWrite(int line) const;
    void writeValues(const Values &values);

    QString m_filePath;
    bool m_canWrite;
};
