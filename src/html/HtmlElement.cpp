#include "html/HtmlElement.h"

#include "html/HtmlText.h"

THtmlElement::THtmlElement(THtmlNode::Ptr node) : FNode(std::move(node))
{
    if (FNode && !FNode->isElement())
        FNode.reset();
}

QString THtmlElement::tagName() const
{
    return FNode ? FNode->tagName() : QString();
}

bool THtmlElement::hasTagName(QStringView upperCaseName) const
{
    return FNode && FNode->isElement(upperCaseName);
}

QString THtmlElement::className() const
{
    return FNode ? FNode->attribute(u"class") : QString();
}

QVariant THtmlElement::getAttribute(const QString &name) const
{
    bool found = false;
    const QString value = FNode ? FNode->attribute(name, &found) : QString();
    return found ? QVariant(value) : QVariant();
}

void THtmlElement::setAttribute(const QString &name, const QString &value)
{
    if (FNode)
        FNode->setAttribute(name, value);
}

bool THtmlElement::hasIdOrName(const QString &name) const
{
    return FNode && FNode->hasIdOrName(name);
}

QString THtmlElement::innerText() const
{
    return FNode ? renderedText(*FNode) : QString();
}

void THtmlElement::setInnerText(const QString &text)
{
    if (!FNode)
        return;
    FNode->removeAllChildren();
    if (!text.isEmpty())
        FNode->appendChild(std::make_shared<THtmlNode>(THtmlNode::Kind::Text, text));
}

QString THtmlElement::innerHTML() const
{
    return FNode ? innerHtml(*FNode) : QString();
}
