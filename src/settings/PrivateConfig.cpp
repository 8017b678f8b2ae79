#include "settings/PrivateConfig.h"

#include "common/KestranoError.h"
#include "common/Messages.h"
#include "common/SafeSave.h"
#include "settings/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>

QString PrivateConfig::programFolder()
{
    return QCoreApplication::applicationDirPath();
}

PrivateConfig::PrivateConfig(bool forWriting, const QString &folder)
    : m_filePath(QDir(folder).filePath(fileName())), m_canWrite(forWriting)
{
    SettingsFile::createEmpty(m_filePath);
}

SettingsSnapshot PrivateConfig::snapshot() const
{
    const SettingsFile::Content content = SettingsFile::read(m_filePath);
    if (!content.refusal.isEmpty()) {
        throw KestranoError(Messages::settingsUnreadable(m_filePath, content.refusal));
    }
    return SettingsSnapshot(IniText::parse(content.bytes));
}

QString PrivateConfig::getStr(const QString &field) const
{
    return snapshot().getStr(field);
}

int PrivateConfig::getInt(const QString &field) const
{
    return snapshot().getInt(field);
}

bool PrivateConfig::getBool(const QString &field) const
{
    return snapshot().getBool(field);
}

bool PrivateConfig::getBool(const QString &field, bool defaultValue) const
{
    return snapshot().getBool(field, defaultValue);
}

void PrivateConfig::assertCanWrite(int line) const
{
    if (!m_canWrite) {
        throw KestranoError(Messages::internalError(QStringLiteral("PrivateConfig"), line));
    }
}

void PrivateConfig::setStr(const QString &field, const QString &value)
{
    assertCanWrite(__LINE__);
    writeValues({{field, value}});
}

void PrivateConfig::setStrs(const Values &values)
{
    assertCanWrite(__LINE__);
    writeValues(values);
}

void PrivateConfig::writeValues(const Values &values)
{
    const auto refuse = [this](const QString &reason) {
        return KestranoError(Messages::settingsUnwritable(m_filePath, reason));
    };
    // Under the lock from reading to replacing, so that a key another program
    // writes meanwhile is neither lost here nor loses this write.
    const SettingsFile::Lock lock(m_filePath);
    if (!lock.failure().isEmpty())
        throw refuse(lock.failure());
    if (const QString refusal = SettingsFile::writeRefusal(m_filePath); !refusal.isEmpty())
        throw refuse(refusal);
    // Start from the file as it is now; a file that exists but cannot be read
    // is never replaced by what little this instance knows.
    const SettingsFile::Content content = SettingsFile::read(m_filePath);
    if (!content.refusal.isEmpty())
        throw refuse(content.refusal);

    IniText text = IniText::parse(content.bytes);
    for (const auto &[field, value] : values) {
        if (!text.setValue(field, value))
            throw refuse(Messages::outOfMemory());
    }
    const std::optional<QByteArray> bytes = text.toFileBytes();
    if (!bytes)
        throw refuse(Messages::outOfMemory());
    if (const QString failure = saveFileAtomically(m_filePath, *bytes); !failure.isEmpty())
        throw refuse(failure);
}

void PrivateConfig::setInt(const QString &field, int nValue)
{
    assertCanWrite(__LINE__);
    setStr(field, QString::number(nValue));
}

void PrivateConfig::setBool(const QString &field, bool value)
{
    assertCanWrite(__LINE__);
    setStr(field, value ? QStringLiteral("1") : QStringLiteral("0"));
}
