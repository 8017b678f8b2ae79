#include "html/HtmlDocument.h"

#include "html/LibxmlTree.h"
#include "html/PageLimits.h"

void THtmlDocument::setBodyHtml(const QString &html)
{
    // Every UTF-16 unit takes at least one byte in UTF-8: a text this long
    // is refused before it is converted.
    PageLimits::checkSize(html.size());
    // libxml2 takes a NUL for the end of the page; a browser shows the
    // replacement character in its place.
    const QChar nul(u'\0');
    THtmlNode::Ptr root = parsePage(
        html.contains(nul) ? QString(html).replace(nul, QChar(QChar::ReplacementCharacter)).toUtf8()
                           : html.toUtf8());
    std::vector<THtmlElement> elements;
    for (THtmlNode::Ptr &node : root->descendantElements())
        elements.emplace_back(std::move(node));
    FRoot = std::move(root);
    FAll = THtmlElementList(std::move(elements));
    FTables = FAll.tags(QStringLiteral("TABLE"));
}

THtmlElement THtmlDocument::createElement(const QString &tagName) const
{
    return THtmlElement(std::make_shared<THtmlNode>(THtmlNode::Kind::Element, tagName.toUpper()));
}
