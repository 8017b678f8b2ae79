#include "html/HtmlParser.h"

HtmlParser::HtmlParser() : m_webTables(&m_htmlDoc) {}

HtmlParser::~HtmlParser() = default;

void HtmlParser::setHTML(const QString &html)
{
    if (html == m_html)
        return;
    m_htmlDoc.setBodyHtml(html);
    m_html = html;
    m_webElements.setCollection(m_htmlDoc.all());
}

WebCombobox *HtmlParser::getWebCombobox(const QString &name)
{
    if (m_webElements.collection().isNull())
        return nullptr;
    m_webComb.setCombInterface(m_webElements.getElementByName(name));
    return &m_webComb;
}
