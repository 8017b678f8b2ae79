#include "html/HtmlDocument.h"

#include "html/GumboTree.h"
#include "common/KestranoError.h"
#include "html/MarkupGuard.h"

void THtmlDocument::setBodyHtml(const QString &html)
{
    // Every UTF-16 unit takes at least one byte in UTF-8: a text this long
    // is refused before it is converted.
    TMarkupGuard::checkSize(html.size());
    THtmlNode::Ptr root = parsePage(html.toUtf8());
    std::vector<THtmlElement> elements;
    for (const THtmlNode::Ptr &node : root->descendantElements())
        elements.emplace_back(node);
    FRoot = std::move(root);
    FAll = THtmlElementList(std::move(elements));
    FTables = FAll.tags(QStringLiteral("TABLE"));
}

THtmlElement THtmlDocument::createElement(const QString &tagName) const
{
    return THtmlElement(std::make_shared<THtmlNode>(THtmlNode::Kind::Element, tagName.toUpper()));
}
