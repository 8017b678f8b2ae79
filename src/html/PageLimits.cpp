#include "html/PageLimits.h"

#include "common/KestranoError.h"
#include "common/Messages.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// libxml2 reads a name in pieces of at most this many characters; the rest
// of a longer name is read as further attribute names.
constexpr qsizetype namePiece = 100;

// The classes of the bytes that the scan asks about, looked up in one
// table: the scan runs over every byte of a page before libxml2 does.
enum : unsigned char { Letter = 1, NameStart = 2, NameCharacter = 4, Blank = 8 };

constexpr std::array<unsigned char, 256> byteClasses = [] {
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool nameStart = letter || c == '_' || c == ':' || c == '.';
        const bool nameCharacter = nameStart || (c >= '0' && c <= '9') || c == '-';
        const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        classes[size_t(c)] = (letter ? Letter : 0) | (nameStart ? NameStart : 0) |
                             (nameCharacter ? NameCharacter : 0) | (blank ? Blank : 0);
    }
    return classes;
}();

bool hasClass(char c, unsigned char byteClass)
{
    return byteClasses[static_cast<unsigned char>(c)] & byteClass;
}

bool isLetter(char c)
{
    return hasClass(c, Letter);
}

bool isNameStart(char c)
{
    return hasClass(c, NameStart);
}

bool isNameCharacter(char c)
{
    return hasClass(c, NameCharacter);
}

bool isBlank(char c)
{
    return hasClass(c, Blank);
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Walks a page tag by tag the way libxml2's HTML parser does.
class TTagScan
{
public:
    explicit TTagScan(QByteArrayView page) : FPage(page) {}

    int mostAttributes()
    {
        const char *page = FPage.data();
        const qsizetype size = FPage.size();
        while (FAt < size) {
            FAt = afterPlainTags(FAt);
            if (FAt >= size)
                break;
            if (page[FAt] != '<') {
                const void *next = std::memchr(page + FAt, '<', size_t(FPage.size() - FAt));
                FAt = next ? static_cast<const char *>(next) - page : FPage.size();
                continue;
            }
            const char second = peek(1);
            if (isLetter(second)) {
                startTag();
            } else if (second == '/') {
                endTag();
            } else if (startsWith("<!--")) {
                skipComment();
            } else if (startsWithIgnoringCase("<!doctype")) {
                docType();
            } else if (second == '?' && isXmlNameStart(peek(2))) {
                // A processing instruction ends at the first '>', quotes or
                // not.
                skipPast('>');
            } else if (second == '?') {
                // No name: libxml2 passes over "<?" and reads on from there.
                FAt += 2;
            } else {
                // Any other '<', also of "<!x" or "<![CDATA[", is text to
                // libxml2, and so is what follows up to the next tag.
                ++FAt;
            }
        }
        return FMost;
    }

    // Where the end tags "</br ...>" start and end (past the '>').
    const std::vector<std::pair<qsizetype, qsizetype>> &lineBreakEndTags() const
    {
        return FBreakEnds;
    }

private:
    // Past a run of start tags that have a name and nothing else ("<b>",
    // "<td>"), the bulk of the tags of any page, read here in a tight loop:
    // none of them has an attribute or starts the text of SCRIPT or STYLE.
    qsizetype afterPlainTags(qsizetype at) const
    {
        const char *page = FPage.data();
        const qsizetype size = FPage.size();
        while (at + 1 < size && page[at] == '<' && isLetter(page[at + 1])) {
            qsizetype end = at + 2;
            while (end < size && isNameCharacter(page[end]))
                ++end;
            const qsizetype nameLength = end - at - 1;
            if (end >= size || page[end] != '>' || nameLength > namePiece ||
                isRawText(FPage.sliced(at + 1, nameLength)))
                break;
            at = end + 1;
        }
        return at;
    }

    char peek(qsizetype ahead = 0) const
    {
        return FAt + ahead < FPage.size() ? FPage[FAt + ahead] : '\0';
    }

    bool startsWith(QByteArrayView text) const { return FPage.sliced(FAt).startsWith(text); }

    bool startsWithIgnoringCase(const char *lowerCase) const
    {
        const QByteArrayView text(lowerCase);
        return FAt + text.size() <= FPage.size() &&
               equalsIgnoringCase(FPage.sliced(FAt, text.size()), lowerCase);
    }

    // A document type declaration: its name, then an external id whose
    // quoted literals may hold '>', then anything up to the next '>'.
    void docType()
    {
        FAt += 9;
        skipBlanks();
        skipXmlName();
        skipBlanks();
        if (startsWithIgnoringCase("system")) {
            FAt += 6;
            skipBlanks();
            skipLiteral();
        } else if (startsWithIgnoringCase("public")) {
            FAt += 6;
            skipBlanks();
            skipLiteral();
            skipBlanks();
            skipLiteral();
        }
        skipPast('>');
    }

    void skipLiteral()
    {
        if (peek() != '"' && peek() != '\'') {
            return;
        }
        const char quote = peek();
        ++FAt;
        skipPast(quote);
    }

    // A name as XML has it; any byte of a character beyond ASCII counts as
    // a name character.
    static bool isXmlNameStart(char c) { return isLetter(c) || c == '_' || c == ':' || (c & 0x80); }

    void skipXmlName()
    {
        if (!isXmlNameStart(peek()))
            return;
        while (FAt < FPage.size() && (isXmlNameStart(peek()) || isNameCharacter(peek())))
            ++FAt;
    }

    void skipPast(char c)
    {
        const qsizetype end = FPage.indexOf(c, FAt);
        FAt = end < 0 ? FPage.size() : end + 1;
    }

    void skipComment()
    {
        // Both "-->" and "--!>" end a comment; "<!-->" does not.
        const qsizetype content = FAt + 4;
        qsizetype end = FPage.size();
        for (qsizetype i = FPage.indexOf("--", content); i >= 0; i = FPage.indexOf("--", i + 1)) {
            if (i + 2 < FPage.size() && FPage[i + 2] == '>') {
                end = i + 3;
                break;
            }
            if (i + 3 < FPage.size() && FPage[i + 2] == '!' && FPage[i + 3] == '>') {
                end = i + 4;
                break;
            }
        }
        FAt = end;
    }

    void endTag()
    {
        const qsizetype start = FAt;
        FAt += 2;
        const qsizetype nameStart = FAt;
        while (FAt < FPage.size() && isNameCharacter(FPage[FAt]))
            ++FAt;
        const bool lineBreak = equalsIgnoringCase(FPage.sliced(nameStart, FAt - nameStart), "br");
        skipPast('>');
        if (lineBreak && FPage[FAt - 1] == '>')
            FBreakEnds.emplace_back(start, FAt);
    }

    // The number of names that libxml2 reads from a run of name characters.
    int readName()
    {
        const char *page = FPage.data();
        const qsizetype start = FAt;
        qsizetype at = FAt;
        while (at < FPage.size() && isNameCharacter(page[at]))
            ++at;
        FAt = at;
        const qsizetype length = at - start;
        return length <= namePiece ? int(length > 0) : int((length + namePiece - 1) / namePiece);
    }

    void skipBlanks()
    {
        while (FAt < FPage.size() && isBlank(FPage[FAt]))
            ++FAt;
    }

    bool atTagEnd() const
    {
        return FAt >= FPage.size() || peek() == '>' || (peek() == '/' && peek(1) == '>');
    }

    void startTag()
    {
        ++FAt;
        const qsizetype nameStart = FAt;
        int attributes = readName() - 1;
        const QByteArrayView name = FPage.sliced(nameStart, FAt - nameStart);
        if (peek() == '>') {
            // Most tags have no attributes: nothing more to read.
            ++FAt;
            FMost = std::max(FMost, attributes);
            if (isRawText(name))
                skipRawText(name);
            return;
        }
        for (skipBlanks(); !atTagEnd(); skipBlanks()) {
            if (!isNameStart(peek())) {
                // A bogus attribute: passed over up to a blank or the end.
                while (FAt < FPage.size() && !isBlank(peek()) && !atTagEnd())
                    ++FAt;
                continue;
            }
            attributes += readName();
            skipBlanks();
            if (peek() != '=')
                continue;
            ++FAt;
            skipBlanks();
            if (peek() == '"' || peek() == '\'') {
                const char quote = peek();
                ++FAt;
                skipPast(quote);
            } else {
                while (FAt < FPage.size() && !isBlank(peek()) && peek() != '>')
                    ++FAt;
            }
        }
        FMost = std::max(FMost, attributes);
        if (FAt < FPage.size())
            FAt += peek() == '>' ? 1 : 2;
        if (isRawText(name))
            skipRawText(name);
    }

    static bool equalsIgnoringCase(QByteArrayView text, const char *lowerCase)
    {
        qsizetype i = 0;
        for (; i < text.size() && lowerCase[i]; ++i) {
            if (lower(text[i]) != lowerCase[i])
                return false;
        }
        return i == text.size() && !lowerCase[i];
    }

    static bool isRawText(QByteArrayView name)
    {
        return (name.size() == 5 || name.size() == 6) &&
               (equalsIgnoringCase(name, "script") || equalsIgnoringCase(name, "style"));
    }

    // The text of SCRIPT and STYLE runs to the first "</" followed by the
    // element's name, in any case.
    void skipRawText(QByteArrayView name)
    {
        for (qsizetype i = FPage.indexOf("</", FAt); i >= 0; i = FPage.indexOf("</", i + 1)) {
            const QByteArrayView after = FPage.sliced(i + 2);
            if (after.size() >= name.size() &&
                equalsIgnoringCase(after.first(name.size()), lowerName(name))) {
                FAt = i;
                return;
            }
        }
        FAt = FPage.size();
    }

    static const char *lowerName(QByteArrayView name)
    {
        return equalsIgnoringCase(name, "script") ? "script" : "style";
    }

    QByteArrayView FPage;
    qsizetype FAt = 0;
    int FMost = 0;
    std::vector<std::pair<qsizetype, qsizetype>> FBreakEnds;
};

} // namespace

namespace PageLimits {

void checkSize(qsizetype bytes)
{
    if (bytes > maxPageBytes)
        throw KestranoError(Messages::pageTooLarge(QStringLiteral("4 MiB")));
}

int mostAttributesInOneTag(QByteArrayView page)
{
    return TTagScan(page).mostAttributes();
}

QByteArray checkedPage(const QByteArray &page)
{
    TTagScan scan(page);
    if (scan.mostAttributes() > maxAttributes)
        throw KestranoError(Messages::pageWithTooManyAttributes(maxAttributes));
    if (scan.lineBreakEndTags().empty())
        return page;
    QByteArray read;
    read.reserve(page.size());
    qsizetype copied = 0;
    for (const auto &[start, end] : scan.lineBreakEndTags()) {
        read.append(page.constData() + copied, start - copied);
        read.append("<br>");
        copied = end;
    }
    read.append(page.constData() + copied, page.size() - copied);
    return read;
}

} // namespace PageLimits
