#include "html/HtmlParser.h"

THtmlParser::THtmlParser() : FWebTables(&FHtmlDoc) {}

THtmlParser::~THtmlParser() = default;

void THtmlParser::setHTML(const QString &html)
{
    if (html == FHTML)
        return;
    FHtmlDoc.setBodyHtml(html);
    FHTML = html;
    FWebElements.setCollection(FHtmlDoc.all());
}

TWebCombobox *THtmlParser::GetWebCombobox(const QString &AName)
{
    if (FWebElements.Collection().isNull())
        return nullptr;
    FWebComb.setCombInterface(FWebElements.GetElementByName(AName));
    return &FWebComb;
}
