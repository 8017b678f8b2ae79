#include "html/HtmlDocument.h"

#include "html/LibxmlNodes.h"
#include "html/PageLimits.h"

#include <cstring>

void HtmlDocument::setBodyHtml(const QString &html)
{
    // Every UTF-16 unit takes at least one byte in UTF-8: a text this long
    // is refused before it is converted.
    PageLimits::checkSize(html.size());
    QByteArray utf8 = html.toUtf8();
    // libxml2 takes a NUL for the end of the page; a browser shows the
    // replacement character in its place. In UTF-8 a zero byte is a NUL.
    if (std::memchr(utf8.constData(), 0, size_t(utf8.size())))
        utf8.replace(QByteArrayView("\0", 1), QByteArrayView("\xEF\xBF\xBD"));
    HtmlPage::Ptr page = HtmlPage::read(utf8);
    m_page = std::move(page);
    m_all = HtmlElementList(m_page);
    m_tables = m_all.tags(QStringLiteral("TABLE"));
}

HtmlElement HtmlDocument::createElement(const QString &tagName) const
{
    if (!m_page)
        m_page = HtmlPage::blank();
    return HtmlElement(m_page, m_page->createElement(LibxmlNodes::lowerName(tagName)));
}
