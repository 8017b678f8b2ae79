#include "html/MarkupTokenizer.h"

namespace {

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

char lowered(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

const TMarkupTokenizer::Token &TMarkupTokenizer::next()
{
    FToken = Token();
    while (!atEnd()) {
        if (peek() == '<') {
            const char first = peek(1);
            if (isAsciiLetter(first)) {
                readTag(false);
                return FToken;
            }
            if (first == '/') {
                if (isAsciiLetter(peek(2))) {
                    readTag(true);
                    return FToken;
                }
                // "</>" is dropped; "</" before anything else opens a
                // comment that the next ">" closes.
                FPosition += 2;
                skipPast(">");
                continue;
            }
            if (first == '!') {
                FPosition += 2;
                if (peek() == '-' && peek(1) == '-') {
                    FPosition += 2;
                    if (peek() == '>')
                        ++FPosition;
                    else if (peek() == '-' && peek(1) == '>')
                        FPosition += 2;
                    else
                        skipPast("-->");
                } else {
                    skipPast(">");
                }
                continue;
            }
            if (first == '?') {
                skipPast(">");
                continue;
            }
        }
        // Text up to the next "<", which the next call looks at. A "<" that
        // opens no tag is text itself.
        const qsizetype start = FPosition;
        ++FPosition;
        const qsizetype lessThan = FPage.indexOf('<', FPosition);
        FPosition = lessThan < 0 ? FPage.size() : lessThan;
        FToken.kind = Kind::Text;
        FToken.attributes = FPage.sliced(start, FPosition - start);
        return FToken;
    }
    return FToken;
}

void TMarkupTokenizer::readTag(bool endTag)
{
    FPosition += endTag ? 2 : 1;
    while (!atEnd() && !isBlank(peek()) && peek() != '/' && peek() != '>')
        FToken.name += lowered(FPage[FPosition++]);

    const qsizetype attributesStart = FPosition;
    qsizetype attributesEnd = FPosition;
    for (;;) {
        skipBlanks();
        if (atEnd())
            return; // a tag cut off by the end of the page is dropped
        attributesEnd = FPosition;
        const char c = peek();
        if (c == '>') {
            ++FPosition;
            break;
        }
        if (c == '/') {
            ++FPosition;
            if (peek() == '>') {
                ++FPosition;
                FToken.selfClosing = true;
                break;
            }
            continue;
        }
        // An attribute name: its first character may be anything, "=" too.
        ++FPosition;
        while (!atEnd() && !isBlank(peek()) && peek() != '/' && peek() != '>' && peek() != '=')
            ++FPosition;
        ++FToken.attributeCount;
        skipBlanks();
        if (peek() != '=')
            continue;
        ++FPosition;
        skipBlanks();
        const char quote = peek();
        if (quote == '"' || quote == '\'') {
            const qsizetype closing = FPage.indexOf(quote, FPosition + 1);
            if (closing < 0) {
                FPosition = FPage.size();
                return;
            }
            FPosition = closing + 1;
        } else {
            while (!atEnd() && !isBlank(peek()) && peek() != '>')
                ++FPosition;
        }
    }
    FToken.kind = endTag ? Kind::EndTag : Kind::StartTag;
    FToken.attributes = FPage.sliced(attributesStart, attributesEnd - attributesStart);
}

void TMarkupTokenizer::skipTextUntilEndTag(std::string name)
{
    for (;;) {
        const qsizetype candidate = FPage.indexOf("</", FPosition);
        if (candidate < 0) {
            FPosition = FPage.size();
            return;
        }
        FPosition = candidate + 2;
        qsizetype i = 0;
        while (i < qsizetype(name.size()) && lowered(peek(i)) == name[size_t(i)])
            ++i;
        const char after = peek(i);
        if (i == qsizetype(name.size()) && (isBlank(after) || after == '/' || after == '>')) {
            // The end tag is read past, not handed out: the token of the
            // start tag stays as it was.
            Token startTag = std::move(FToken);
            FToken = Token();
            FPosition = candidate;
            readTag(true);
            FToken = std::move(startTag);
            return;
        }
    }
}

void TMarkupTokenizer::skipPast(QByteArrayView marker)
{
    const qsizetype found = FPage.indexOf(marker, FPosition);
    FPosition = found < 0 ? FPage.size() : found + marker.size();
}

void TMarkupTokenizer::skipBlanks()
{
    while (!atEnd() && isBlank(peek()))
        ++FPosition;
}
