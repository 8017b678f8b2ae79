#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

// The parsed text of the settings file: section "COF" of an ini text, section
// and key names compared without regard to case, values kept exactly as they
// stand (quotes included). Whatever the file holds comes back on saving:
// other sections, and text after a NUL byte, which a C string would cut off.
class IniText
{
public:
    IniText();
    ~IniText();
    IniText(IniText &&) noexcept;
    IniText &operator=(IniText &&) noexcept;

    // The bytes of the file, in either of the file encodings.
    static IniText parse(const QByteArray &fileBytes);

    // The whole value of key in section "COF"; nullopt when absent.
    std::optional<QString> value(const QString &key) const;
    // A line break inside a value becomes a space: it would end the value
    // there and turn the rest into lines, even keys, of their own.
    // False when the parser is out of memory.
    bool setValue(const QString &key, const QString &value);

    // The text to write back, encoded for the file; empty on failure.
    std::optional<QByteArray> toFileBytes() const;

private:
    struct Data;
    std::unique_ptr<Data> d;
};
