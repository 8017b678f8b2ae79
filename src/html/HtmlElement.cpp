#include "html/HtmlElement.h"

#include "html/HtmlText.h"
#include "html/LibxmlLibrary.h"
#include "html/LibxmlNodes.h"

using namespace LibxmlNodes;

THtmlElement::THtmlElement(THtmlPage::Ptr page, xmlNode *node)
{
    if (page && node && isElement(node)) {
        FPage = std::move(page);
        FNode = node;
    }
}

QString THtmlElement::tagName() const
{
    return FNode ? QString::fromUtf8(chars(FNode->name)).toUpper() : QString();
}

bool THtmlElement::hasTagName(QStringView upperCaseName) const
{
    if (!FNode)
        return false;
    // Names of parsed pages are ASCII: compared without a conversion.
    const unsigned char *name = FNode->name;
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

QString THtmlElement::className() const
{
    const xmlAttr *attribute = FNode ? findAttribute(FNode, "class") : nullptr;
    return attribute ? QString::fromUtf8(valueOf(attribute)) : QString();
}

QVariant THtmlElement::getAttribute(const QString &name) const
{
    const xmlAttr *attribute = FNode ? findAttribute(FNode, lowerName(name).constData()) : nullptr;
    return attribute ? QVariant(QString::fromUtf8(valueOf(attribute))) : QVariant();
}

void THtmlElement::setAttribute(const QString &name, const QString &value)
{
    if (!FNode)
        return;
    const QByteArray utf8Name = lowerName(name);
    const QByteArray utf8Value = value.toUtf8();
    TLibxmlLibrary::instance().xmlSetProp(FNode,
                                          reinterpret_cast<const xmlChar *>(utf8Name.constData()),
                                          reinterpret_cast<const xmlChar *>(utf8Value.constData()));
}

int THtmlElement::attributeCount() const
{
    int count = 0;
    for (const xmlAttr *attribute = FNode ? FNode->properties : nullptr; attribute;
         attribute = attribute->next)
        ++count;
    return count;
}

bool THtmlElement::hasIdOrName(const QString &name) const
{
    return FNode && LibxmlNodes::hasIdOrName(FNode, name.toUtf8());
}

THtmlElement THtmlElement::parentElement() const
{
    return FNode ? THtmlElement(FPage, FNode->parent) : THtmlElement();
}

QString THtmlElement::innerText() const
{
    return FNode ? renderedText(FNode) : QString();
}

void THtmlElement::setInnerText(const QString &text)
{
    if (FNode)
        FPage->replaceContent(FNode, text.toUtf8());
}

QString THtmlElement::innerHTML() const
{
    return FNode ? innerHtml(FNode) : QString();
}
