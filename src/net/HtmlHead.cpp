#include "net/HtmlHead.h"

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

QByteArray resolveReferences(QByteArray value)
{
    if (!value.contains('&'))
        return value;
    return value.replace("&quot;", "\"")
        .replace("&#39;", "'")
        .replace("&lt;", "<")
        .replace("&gt;", ">")
        .replace("&amp;", "&");
}

// Reads one tag from just after its name up to and including its ">", and
// returns the position after it (or the end of the page when it never ends).
qsizetype readAttributes(const QByteArray &page, qsizetype pos, HtmlMeta *attributes)
{
    const qsizetype end = page.size();
    while (pos < end) {
        while (pos < end && (isSpace(page[pos]) || page[pos] == '/'))
            ++pos;
        if (pos >= end || page[pos] == '>')
            return pos + 1;
        const qsizetype nameStart = pos;
        while (pos < end && !isSpace(page[pos]) && page[pos] != '=' && page[pos] != '>' &&
               page[pos] != '/')
            ++pos;
        const QByteArray name = page.mid(nameStart, pos - nameStart).toLower();
        while (pos < end && isSpace(page[pos]))
            ++pos;
        QByteArray value;
        if (pos < end && page[pos] == '=') {
            ++pos;
            while (pos < end && isSpace(page[pos]))
                ++pos;
            if (pos < end && (page[pos] == '"' || page[pos] == '\'')) {
                const char quote = page[pos];
                const qsizetype close = page.indexOf(quote, pos + 1);
                const qsizetype valueEnd = close < 0 ? end : close;
                value = page.mid(pos + 1, valueEnd - pos - 1);
                pos = valueEnd + 1;
            } else {
                const qsizetype valueStart = pos;
                while (pos < end && !isSpace(page[pos]) && page[pos] != '>')
                    ++pos;
                value = page.mid(valueStart, pos - valueStart);
            }
        }
        // As in a browser, the first of two attributes of the same name counts.
        if (!name.isEmpty() && !attributes->contains(name))
            attributes->insert(name, resolveReferences(value));
    }
    return end;
}

} // namespace

QList<HtmlMeta> headMetaTags(const QByteArray &page)
{
    QList<HtmlMeta> metas;
    qsizetype pos = 0;
    while ((pos = page.indexOf('<', pos)) >= 0) {
        if (page.mid(pos, 4) == "<!--") {
            const qsizetype close = page.indexOf("-->", pos + 4);
            if (close < 0)
                break;
            pos = close + 3;
            continue;
        }
        qsizetype nameEnd = pos + 1;
        if (nameEnd < page.size() && page[nameEnd] == '/')
            ++nameEnd;
        while (nameEnd < page.size() &&
               (isLetter(page[nameEnd]) || (page[nameEnd] >= '0' && page[nameEnd] <= '9')))
            ++nameEnd;
        const QByteArray tag = page.mid(pos + 1, nameEnd - pos - 1).toLower();
        if (tag == "/head" || tag == "body")
            break;
        if (tag.isEmpty() || tag == "/") {
            pos = nameEnd;
            continue;
        }
        HtmlMeta attributes;
        pos = readAttributes(page, nameEnd, &attributes);
        if (tag == "meta")
            metas.append(attributes);
    }
    return metas;
}
