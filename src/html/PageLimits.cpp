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
class TagScan
{
public:
    explicit TagScan(QByteArrayView page) : m_page(page) {}

    int mostAttributes()
    {
        const char *page = m_page.data();
        const qsizetype size = m_page.size();
        while (m_at < size) {
            m_at = afterPlainTags(m_at);
            if (m_at >= size)
                break;
            if (page[m_at] != '<') {
                const void *next = std::memchr(page + m_at, '<', size_t(m_page.size() - m_at));
                m_at = next ? static_cast<const char *>(next) - page : m_page.size();
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
                m_at += 2;
            } else {
                // Any other '<', also of "<!x" or "<![CDATA[", is text to
                // libxml2, and so is what follows up to the next tag.
                ++m_at;
            }
        }
        return m_most;
    }

    // Where the end tags "</br ...>" start and end (past the '>').
    const std::vector<std::pair<qsizetype, qsizetype>> &lineBreakEndTags() const
    {
        return m_breakEnds;
    }

private:
    // Past a run of start tags that have a name and nothing else ("<b>",
    // "<td>"), the bulk of the tags of any page, read here in a tight loop:
    // none of them has an attribute or starts the text of SCRIPT or STYLE.
    qsizetype afterPlainTags(qsizetype at) const
    {
        const char *page = m_page.data();
        const qsizetype size = m_page.size();
        while (at + 1 < size && page[at] == '<' && isLetter(page[at + 1])) {
            qsizetype end = at + 2;
            while (end < size && isNameCharacter(page[end]))
                ++end;
            const qsizetype nameLength = end - at - 1;
            if (end >= size || page[end] != '>' || nameLength > namePiece ||
                isRawText(m_page.sliced(at + 1, nameLength)))
                break;
            at = end + 1;
        }
        return at;
    }

    char peek(qsizetype ahead = 0) const
    {
        return m_at + ahead < m_page.size() ? m_page[m_at + ahead] : '\0';
    }

    bool startsWith(QByteArrayView text) const { return m_page.sliced(m_at).startsWith(text); }

    bool startsWithIgnoringCase(const char *lowerCase) const
    {
        const QByteArrayView text(lowerCase);
        return m_at + text.size() <= m_page.size() &&
               equalsIgnoringCase(m_page.sliced(m_at, text.size()), lowerCase);
    }

    // A document type declaration: its name, then an external id whose
    // quoted literals may hold '>', then anything up to the next '>'.
    void docType()
    {
        m_at += 9;
        skipBlanks();
        skipXmlName();
        skipBlanks();
        if (startsWithIgnoringCase("system")) {
            m_at += 6;
            skipBlanks();
            skipLiteral();
        } else if (startsWithIgnoringCase("public")) {
            m_at += 6;
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
        ++m_at;
        skipPast(quote);
    }

    // A name as XML has it; any byte of a character beyond ASCII counts as
    // a name character.
    static bool isXmlNameStart(char c) { return isLetter(c) || c == '_' || c == ':' || (c & 0x80); }

    void skipXmlName()
    {
        if (!isXmlNameStart(peek()))
            return;
        while (m_at < m_page.size() && (isXmlNameStart(peek()) || isNameCharacter(peek())))
            ++m_at;
    }

    void skipPast(char c)
    {
        const qsizetype end = m_page.indexOf(c, m_at);
        m_at = end < 0 ? m_page.size() : end + 1;
    }

    void skipComment()
    {
        // Both "-->" and "--!>" end a comment; "<!-->" does not.
        const qsizetype content = m_at + 4;
        qsizetype end = m_page.size();
        for (qsizetype i = m_page.indexOf("--", content); i >= 0; i = m_page.indexOf("--", i + 1)) {
            if (i + 2 < m_page.size() && m_page[i + 2] == '>') {
                end = i + 3;
                break;
            }
            if (i + 3 < m_page.size() && m_page[i + 2] == '!' && m_page[i + 3] == '>') {
                end = i + 4;
                break;
            }
        }
        m_at = end;
    }

    void endTag()
    {
        const qsizetype start = m_at;
        m_at += 2;
        const qsizetype nameStart = m_at;
        while (m_at < m_page.size() && isNameCharacter(m_page[m_at]))
            ++m_at;
        const bool lineBreak = equalsIgnoringCase(m_page.sliced(nameStart, m_at - nameStart), "br");
        skipPast('>');
        if (lineBreak && m_page[m_at - 1] == '>')
            m_breakEnds.emplace_back(start, m_at);
    }

    // The number of names that libxml2 reads from a run of name characters.
    int readName()
    {
        const char *page = m_page.data();
        const qsizetype start = m_at;
        qsizetype at = m_at;
        while (at < m_page.size() && isNameCharacter(page[at]))
            ++at;
        m_at = at;
        const qsizetype length = at - start;
        return length <= namePiece ? int(length > 0) : int((length + namePiece - 1) / namePiece);
    }

    void skipBlanks()
    {
        while (m_at < m_page.size() && isBlank(m_page[m_at]))
            ++m_at;
    }

    bool atTagEnd() const
    {
        return m_at >= m_page.size() || peek() == '>' || (peek() == '/' && peek(1) == '>');
    }

    void startTag()
    {
        ++m_at;
        const qsizetype nameStart = m_at;
        int attributes = readName() - 1;
        const QByteArrayView name = m_page.sliced(nameStart, m_at - nameStart);
        if (peek() == '>') {
            // Most tags have no attributes: nothing more to read.
            ++m_at;
            m_most = std::max(m_most, attributes);
            if (isRawText(name))
                skipRawText(name);
            return;
        }
        for (skipBlanks(); !atTagEnd(); skipBlanks()) {
            if (!isNameStart(peek())) {
                // A bogus attribute: passed over up to a blank or the end.
                while (m_at < m_page.size() && !isBlank(peek()) && !atTagEnd())
                    ++m_at;
                continue;
            }
            attributes += readName();
            skipBlanks();
            if (peek() != '=')
                continue;
            ++m_at;
            skipBlanks();
            if (peek() == '"' || peek() == '\'') {
                const char quote = peek();
                ++m_at;
                skipPast(quote);
            } else {
                while (m_at < m_page.size() && !isBlank(peek()) && peek() != '>')
                    ++m_at;
            }
        }
        m_most = std::max(m_most, attributes);
        if (m_at < m_page.size())
            m_at += peek() == '>' ? 1 : 2;
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
        for (qsizetype i = m_page.indexOf("</", m_at); i >= 0; i = m_page.indexOf("</", i + 1)) {
            const QByteArrayView after = m_page.sliced(i + 2);
            if (after.size() >= name.size() &&
                equalsIgnoringCase(after.first(name.size()), lowerName(name))) {
                m_at = i;
                return;
            }
        }
        m_at = m_page.size();
    }

    static const char *lowerName(QByteArrayView name)
    {
        return equalsIgnoringCase(name, "script") ? "script" : "style";
    }

    QByteArrayView m_page;
    qsizetype m_at = 0;
    int m_most = 0;
    std::vector<std::pair<qsizetype, qsizetype>> m_breakEnds;
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
    return TagScan(page).mostAttributes();
}

QByteArray checkedPage(const QByteArray &page)
{
    TagScan scan(page);
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
