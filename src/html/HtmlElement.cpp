#include "html/HtmlElement.h"

#include "html/HtmlText.h"
#include "html/LibxmlLibrary.h"
#include "html/LibxmlNodes.h"

using namespace LibxmlNodes;

HtmlElement::HtmlElement(HtmlPage::Ptr page, xmlNode *node)
{
    if (page && node && isElement(node)) {
        m_page = std::move(page);
        m_node = node;
    }
}

QString HtmlElement::tagName() const
{
    return m_node ? QString::fromUtf8(chars(m_node->name)).toUpper() : QString();
}

bool HtmlElement::hasTagName(QStringView upperCaseName) const
{
    if (!m_node)
        return false;
    // Names of parsed pages are ASCII: compared without a conversion.
    const unsigned char *name = m_node->name;
    qsizetype i = 0;
    for (; name[i] && name[i] < 0x80; ++i) {
        if (i >= upperCaseName.size())
            return false;
        const char16_t wanted = upperCaseName[i].unicode();
        const char16_t given = name[i] >= 'a' && name[i] <= 'z' ? name[i] - 'a' + 'A' : name[i];
        if (wanted != given)
            return false;
    }
    if (!name[i])
        return i == upperCaseName.size();
    return tagName() == upperCaseName;
}

QString HtmlElement::className() const
{
    const xmlAttr *attribute = m_node ? findAttribute(m_node, "class") : nullptr;
    return attribute ? QString::fromUtf8(valueOf(attribute)) : QString();
}

QVariant HtmlElement::getAttribute(const QString &name) const
{
    const xmlAttr *attribute =
        m_node ? findAttribute(m_node, lowerName(name).constData()) : nullptr;
    return attribute ? QVariant(QString::fromUtf8(valueOf(attribute))) : QVariant();
}

void HtmlElement::setAttribute(const QString &name, const QString &value)
{
    if (!m_node)
        return;
    const QByteArray utf8Name = lowerName(name);
    const QByteArray utf8Value = value.toUtf8();
    LibxmlLibrary::instance().xmlSetProp(m_node,
                                         reinterpret_cast<const xmlChar *>(utf8Name.constData()),
                                         reinterpret_cast<const xmlChar *>(utf8Value.constData()));
}

int HtmlElement::attributeCount() const
{
    int count = 0;
    for (const xmlAttr *attribute = m_node ? m_node->properties : nullptr; attribute;
         attribute = attribute->next)
        ++count;
    return count;
}

bool HtmlElement::hasIdOrName(const QString &name) const
{
    return m_node && LibxmlNodes::hasIdOrName(m_node, name.toUtf8());
}

HtmlElement HtmlElement::parentElement() const
{
    return m_node ? HtmlElement(m_page, m_node->parent) : HtmlElement();
}

QString HtmlElement::innerText() const
{
    return m_node ? renderedText(m_node) : QString();
}

void HtmlElement::setInnerText(const QString &text)
{
    if (m_node)
        m_page->replaceContent(m_node, text.toUtf8());
}

QString HtmlElement::innerHTML() const
{
    return m_node ? innerHtml(m_node) : QString();
}
