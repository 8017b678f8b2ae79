#include "settings/PrivateConfig.h"

#include "common/FileEncoding.h"
#include "common/KestranoError.h"
#include "common/SafeSave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

// Bytes in, bytes out: the text is decoded and encoded here, not by SimpleIni.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

namespace {

const char *const section = "COF";

std::optional<int> parseInteger(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// A value is one line of the file: a line break inside it would end the value
// there and turn the rest into lines of their own (even into other keys).
QString asOneLine(const QString &value)
{
    QString line = value;
    for (QChar &c : line) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return line;
}

// An installed program's settings file may be a link to a folder its users
// can write. Every operation works on the file the link names (which may not
// exist yet), so that a write replaces that file, not the link.
QString followLinks(QString path)
{
    for (int hop = 0; hop < 8 && QFileInfo(path).isSymLink(); ++hop)
        path = QFileInfo(path).symLinkTarget();
    return path;
}

} // namespace

// The parsed file: SimpleIni over UTF-8 text, keys and sections compared
// without regard to case, quotes left as they stand.
class TPrivateConfig::IniData
{
public:
    IniData() { ini.SetSpaces(false); } // key=value, as the profile functions write it

    CSimpleIniA ini{/*isUtf8*/ true, /*multiKey*/ false, /*multiLine*/ false};
    bool fileReadable = false; // false: the file exists but could not be read
};

QString TPrivateConfig::programFolder()
{
    return QCoreApplication::applicationDirPath();
}

TPrivateConfig::TPrivateConfig(bool bWrite, const QString &folder)
    : FFilePath(followLinks(QDir(folder).filePath(fileName()))), FBCanWrite(bWrite),
      FIniData(std::make_unique<IniData>())
{
    QFile file(FFilePath);
    if (!file.exists()) {
        // A folder without write access is no error here: reads then give
        // the defaults and a write reports the failure.
        if (file.open(QIODevice::WriteOnly))
            file.close();
    }
}

TPrivateConfig::~TPrivateConfig() = default;

bool TPrivateConfig::readFile() const
{
    FIniData->ini.Reset();
    QFile file(FFilePath);
    if (!file.open(QIODevice::ReadOnly)) {
        FIniData->fileReadable = !file.exists();
        return FIniData->fileReadable;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        FIniData->fileReadable = false;
        return false;
    }
    const QByteArray utf8 = decodeFileText(bytes).toUtf8();
    FIniData->ini.LoadData(utf8.constData(), size_t(utf8.size()));
    FIniData->fileReadable = true;
    return true;
}

bool TPrivateConfig::readValue(const QString &sField, QString &sValue) const
{
    if (!readFile())
        return false;
    const QByteArray key = sField.toUtf8();
    const char *value = FIniData->ini.GetValue(section, key.constData(), nullptr);
    if (!value)
        return false;
    sValue = QString::fromUtf8(value).left(maxValueLength);
    return true;
}

QString TPrivateConfig::GetStr(const QString &sField) const
{
    QString value;
    readValue(sField, value);
    return value;
}

int TPrivateConfig::GetInt(const QString &sField) const
{
    return parseInteger(GetStr(sField)).value_or(0);
}

bool TPrivateConfig::GetBool(const QString &sField) const
{
    return GetInt(sField) != 0;
}

bool TPrivateConfig::GetBool(const QString &sField, bool DefValue) const
{
    return parseInteger(GetStr(sField)).value_or(DefValue ? 1 : 0) != 0;
}

void TPrivateConfig::assertCanWrite(int line) const
{
    if (!FBCanWrite) {
        throw KestranoError(QStringLiteral("Assertion failure (%1, line %2)")
                                .arg(QStringLiteral("PrivateConfig"))
                                .arg(line));
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
    const QString failure = QStringLiteral("Unable to write to %1").arg(FFilePath);
    // Start from the file as it is now, so keys written meanwhile by another
    // instance survive; a file that exists but cannot be read is never
    // replaced by what little this instance knows.
    if (!readFile())
        throw KestranoError(failure);

    for (const auto &[field, value] : values) {
        const QByteArray key = field.toUtf8();
        const QByteArray line = asOneLine(value).toUtf8();
        if (FIniData->ini.SetValue(section, key.constData(), line.constData()) < 0)
            throw KestranoError(failure);
    }

    std::string text;
    if (FIniData->ini.Save(text) < 0)
        throw KestranoError(failure);
    const QByteArray bytes = encodeFileText(QString::fromUtf8(text.data(), qsizetype(text.size())));
    if (!saveFileAtomically(FFilePath, bytes).isEmpty())
        throw KestranoError(failure);
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
