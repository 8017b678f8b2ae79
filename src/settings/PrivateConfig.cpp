#include "settings/PrivateConfig.h"

#include "common/KestranoError.h"
#include "common/Messages.h"
#include "common/SafeSave.h"
#include "settings/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>

QString TPrivateConfig::programFolder()
{
    return QCoreApplication::applicationDirPath();
}

TPrivateConfig::TPrivateConfig(bool bWrite, const QString &folder)
    : FFilePath(QDir(folder).filePath(fileName())), FBCanWrite(bWrite)
{
    TSettingsFile::createEmpty(FFilePath);
}

TSettingsSnapshot TPrivateConfig::snapshot() const
{
    const TSettingsFile::Content content = TSettingsFile::read(FFilePath);
    if (!content.refusal.isEmpty()) {
        throw KestranoError(Messages::settingsUnreadable(FFilePath, content.refusal));
    }
    return TSettingsSnapshot(TIniText::parse(content.bytes));
}

QString TPrivateConfig::GetStr(const QString &sField) const
{
    return snapshot().GetStr(sField);
}

int TPrivateConfig::GetInt(const QString &sField) const
{
    return snapshot().GetInt(sField);
}

bool TPrivateConfig::GetBool(const QString &sField) const
{
    return snapshot().GetBool(sField);
}

bool TPrivateConfig::GetBool(const QString &sField, bool DefValue) const
{
    return snapshot().GetBool(sField, DefValue);
}

void TPrivateConfig::assertCanWrite(int line) const
{
    if (!FBCanWrite) {
        throw KestranoError(Messages::internalError(QStringLiteral("PrivateConfig"), line));
    }
}

void TPrivateConfig::SetStr(const QString &sField, const QString &sValue)
{
    assertCanWrite(__LINE__);
    writeValues({{sField, sValue}});
}

void TPrivateConfig::SetStrs(const Values &values)
{
    assertCanWrite(__LINE__);
    writeValues(values);
}

void TPrivateConfig::writeValues(const Values &values)
{
    const auto refuse = [this](const QString &reason) {
        return KestranoError(Messages::settingsUnwritable(FFilePath, reason));
    };
    // Under the lock from reading to replacing, so that a key another program
    // writes meanwhile is neither lost here nor loses this write.
    const TSettingsFile::Lock lock(FFilePath);
    if (!lock.failure().isEmpty())
        throw refuse(lock.failure());
    if (const QString refusal = TSettingsFile::writeRefusal(FFilePath); !refusal.isEmpty())
        throw refuse(refusal);
    // Start from the file as it is now; a file that exists but cannot be read
    // is never replaced by what little this instance knows.
    const TSettingsFile::Content content = TSettingsFile::read(FFilePath);
    if (!content.refusal.isEmpty())
        throw refuse(content.refusal);

    TIniText text = TIniText::parse(content.bytes);
    for (const auto &[field, value] : values) {
        if (!text.setValue(field, value))
            throw refuse(Messages::outOfMemory());
    }
    const std::optional<QByteArray> bytes = text.toFileBytes();
    if (!bytes)
        throw refuse(Messages::outOfMemory());
    if (const QString failure = saveFileAtomically(FFilePath, *bytes); !failure.isEmpty())
        throw refuse(failure);
}

void TPrivateConfig::SetInt(const QString &sField, int nValue)
{
    assertCanWrite(__LINE__);
    SetStr(sField, QString::number(nValue));
}

void TPrivateConfig::SetBool(const QString &sField, bool bValue)
{
    assertCanWrite(__LINE__);
    SetStr(sField, bValue ? QStringLiteral("1") : QStringLiteral("0"));
}
