#include "html/HtmlPage.h"

#include "common/KestranoError.h"
#include "common/Messages.h"
#include "html/LibxmlLibrary.h"
#include "html/LibxmlNodes.h"
#include "html/PageLimits.h"

#include <algorithm>
#include <cstring>

using namespace LibxmlNodes;

namespace {

// libxml2, loaded by the first page.
const TLibxmlLibrary &libxml()
{
    return TLibxmlLibrary::instance();
}

bool isInclusiveAncestor(const xmlNode *ancestor, const xmlNode *node)
{
    for (; node; node = node->parent) {
        if (node == ancestor)
            return true;
    }
    return false;
}

// Hands libxml2 the page piece by piece.
struct TPageReader
{
    QByteArrayView page;
    qsizetype at = 0;

    static int read(void *context, char *buffer, int length)
    {
        auto &reader = *static_cast<TPageReader *>(context);
        const qsizetype piece = std::min<qsizetype>(length, reader.page.size() - reader.at);
        std::memcpy(buffer, reader.page.data() + reader.at, size_t(piece));
        reader.at += piece;
        return int(piece);
    }
};

} // namespace

THtmlPage::THtmlPage(xmlDoc *document) : FDocument(document) {}

THtmlPage::~THtmlPage()
{
    // A node out of the tree may hold others that were out once: only those
    // without a parent are freed, each with everything below it. The roots
    // are picked before any is freed.
    std::sort(FOutside.begin(), FOutside.end());
    FOutside.erase(std::unique(FOutside.begin(), FOutside.end()), FOutside.end());
    std::erase_if(FOutside, [](const xmlNode *node) { return node->parent != nullptr; });
    // Before the document, whose dictionary holds some of their names.
    for (xmlNode *node : FOutside)
        libxml().xmlFreeNode(node);
    libxml().xmlFreeDoc(FDocument);
}

THtmlPage::Ptr THtmlPage::read(const QByteArray &utf8)
{
    PageLimits::checkSize(utf8.size());
    const QByteArray page = PageLimits::checkedPage(utf8);

    // Recovering from broken markup as a browser would, never reaching for
    // the network, quiet; without HTML_PARSE_HUGE, so that libxml2 keeps its
    // own limits on depth and on the size of a single text. Short texts are
    // kept inside their nodes (fewer allocations), and no document type is
    // made up for a page that has none.
    constexpr int options = HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR |
                            HTML_PARSE_NOWARNING | HTML_PARSE_COMPACT | HTML_PARSE_NODEFDTD;
    // libxml2 takes the page in pieces as it reads on, instead of a copy of
    // all of it first (which htmlReadMemory makes): a parse that stops at
    // the nesting limit reads no further, and a long page never sits twice
    // in memory. An empty page gives no document at all.
    TPageReader reader{page.isEmpty() ? QByteArrayView(" ") : QByteArrayView(page)};
    xmlDoc *document =
        libxml().htmlReadIO(TPageReader::read, nullptr, &reader, nullptr, "UTF-8", options);
    if (!document)
        throw KestranoError(Messages::pageNotHtml());
    return Ptr(new THtmlPage(document));
}

THtmlPage::Ptr THtmlPage::blank()
{
    xmlDoc *document = libxml().htmlNewDocNoDtD(nullptr, nullptr);
    if (!document)
        throw std::bad_alloc();
    return Ptr(new THtmlPage(document));
}

const std::vector<xmlNode *> &THtmlPage::elements()
{
    if (FElementsVersion == FVersion)
        return FElements;
    FElements.clear();
    // Without recursion and without a stack of its own: the nodes know their
    // parent and next sibling.
    const xmlNode *top = reinterpret_cast<const xmlNode *>(FDocument);
    xmlNode *node = FDocument->children;
    while (node) {
        if (isElement(node)) {
            FElements.push_back(node);
            if (node->children) {
                node = node->children;
                continue;
            }
        }
        while (!node->next && node->parent != top)
            node = node->parent;
        node = node->next;
    }
    FElementsVersion = FVersion;
    return FElements;
}

xmlNode *THtmlPage::createElement(const QByteArray &lowerName)
{
    xmlNode *element = libxml().xmlNewDocNode(
        FDocument, nullptr, reinterpret_cast<const xmlChar *>(lowerName.constData()), nullptr);
    if (!element)
        throw std::bad_alloc();
    FOutside.push_back(element);
    return element;
}

bool THtmlPage::insert(xmlNode *parent, xmlNode *before, THtmlPage &from, xmlNode *node)
{
    if (isInclusiveAncestor(node, parent) || node == before)
        return false;
    if (&from != this) {
        xmlNode *copy = libxml().xmlDocCopyNode(node, FDocument, 1);
        if (!copy)
            throw std::bad_alloc();
        setChosen(copy, isChosen(node));
        from.takeOut(node);
        FOutside.push_back(copy); // until it is in the tree
        node = copy;
    }
    // Only elements come here, so no text nodes are merged (which would
    // free one of them). xmlAddChild leaves a node in its old sibling list
    // unless it is taken out first.
    libxml().xmlUnlinkNode(node);
    if (before)
        libxml().xmlAddPrevSibling(before, node);
    else
        libxml().xmlAddChild(parent, node);
    changed();
    return true;
}

void THtmlPage::takeOut(xmlNode *node)
{
    if (!node->parent)
        return;
    libxml().xmlUnlinkNode(node);
    FOutside.push_back(node);
    changed();
}

void THtmlPage::replaceContent(xmlNode *element, const QByteArray &text)
{
    while (xmlNode *child = element->children) {
        libxml().xmlUnlinkNode(child);
        // Elements may have handles; text and comments have none.
        if (isElement(child))
            FOutside.push_back(child);
        else
            libxml().xmlFreeNode(child);
    }
    if (!text.isEmpty()) {
        xmlNode *node = libxml().xmlNewDocTextLen(
            FDocument, reinterpret_cast<const xmlChar *>(text.constData()), int(text.size()));
        if (!node)
            throw std::bad_alloc();
        libxml().xmlAddChild(element, node);
    }
    changed();
}

namespace LibxmlNodes {

namespace {
// Marks in the node's field for the application: none until the program
// chooses; then one of these two.
char chosenMark;
char notChosenMark;
} // namespace

bool isChosen(const xmlNode *option)
{
    if (option->_private == &chosenMark)
        return true;
    if (option->_private == &notChosenMark)
        return false;
    return findAttribute(option, "selected") != nullptr;
}

void setChosen(xmlNode *option, bool chosen)
{
    option->_private = chosen ? &chosenMark : &notChosenMark;
}

} // namespace LibxmlNodes
