#include "settings/IniText.h"

#include "common/FileEncoding.h"

#include <cstring>

// Bytes in, bytes out: the text is decoded and encoded here, not by SimpleIni.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

namespace {

const char *const section = "COF";

// SimpleIni reads C strings, so a NUL would end the file there. Inside the
// parser a NUL is written as the two bytes C0 80 (as Java's modified UTF-8
// does): UTF-8 text never holds them, so they always mean a NUL.
const QByteArray nul(1, '\0');
const QByteArray nulInside("\xC0\x80");

QByteArray toParser(const QString &text)
{
    return text.toUtf8().replace(nul, nulInside);
}

QString fromParser(const char *bytes, qsizetype size)
{
    return QString::fromUtf8(QByteArray(bytes, size).replace(nulInside, nul));
}

QString asOneLine(const QString &value)
{
    QString line = value;
    for (QChar &c : line) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return line;
}

} // namespace

struct IniText::Data
{
    Data() { ini.SetSpaces(false); } // key=value, as the profile functions write it

    CSimpleIniA ini{/*isUtf8*/ true, /*multiKey*/ false, /*multiLine*/ false};
};

IniText::IniText() : d(std::make_unique<Data>()) {}
IniText::~IniText() = default;
IniText::IniText(IniText &&) noexcept = default;
IniText &IniText::operator=(IniText &&) noexcept = default;

IniText IniText::parse(const QByteArray &fileBytes)
{
    IniText text;
    const QByteArray bytes = toParser(decodeFileText(fileBytes));
    text.d->ini.LoadData(bytes.constData(), size_t(bytes.size()));
    return text;
}

std::optional<QString> IniText::value(const QString &key) const
{
    const QByteArray name = toParser(key);
    const char *found = d->ini.GetValue(section, name.constData(), nullptr);
    if (!found)
        return std::nullopt;
    return fromParser(found, qsizetype(std::strlen(found)));
}

bool IniText::setValue(const QString &key, const QString &value)
{
    const QByteArray name = toParser(key);
    const QByteArray line = toParser(asOneLine(value));
    return d->ini.SetValue(section, name.constData(), line.constData()) >= 0;
}

std::optional<QByteArray> IniText::toFileBytes() const
{
    std::string text;
    if (d->ini.Save(text) < 0)
        return std::nullopt;
    return encodeFileText(fromParser(text.data(), qsizetype(text.size())));
}
