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
const LibxmlLibrary &libxml()
{
    return LibxmlLibrary::instance();
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
struct PageReader
{
    QByteArrayView page;
    qsizetype at = 0;

    static int read(void *context, char *buffer, int length)
    {
        auto &reader = *static_cast<PageReader *>(context);
        const qsizetype piece = std::min<qsizetype>(length, reader.page.size() - reader.at);
        std::memcpy(buffer, reader.page.data() + reader.at, size_t(piece));
        reader.at += piece;
        return int(piece);
    }
};

} // namespace

HtmlPage::HtmlPage(xmlDoc *document) : m_document(document) {}

HtmlPage::~HtmlPage()
{
    // A node out of the tree may hold others that were out once: only those
    // without a parent are freed, each with everything below it. The roots
    // are picked before any is freed.
    std::sort(m_outside.begin(), m_outside.end());
    m_outside.erase(std::unique(m_outside.begin(), m_outside.end()), m_outside.end());
    std::erase_if(m_outside, [](const xmlNode *node) { return node->parent != nullptr; });
    // Before the document, whose dictionary holds some of their names.
    for (xmlNode *node : m_outside)
        libxml().xmlFreeNode(node);
    libxml().xmlFreeDoc(m_document);
}

HtmlPage::Ptr HtmlPage::read(const QByteArray &utf8)
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
    PageReader reader{page.isEmpty() ? QByteArrayView(" ") : QByteArrayView(page)};
    xmlDoc *document =
        libxml().htmlReadIO(PageReader::read, nullptr, &reader, nullptr, "UTF-8", options);
    if (!document)
        throw KestranoError(Messages::pageNotHtml());
    return Ptr(new HtmlPage(document));
}

HtmlPage::Ptr HtmlPage::blank()
{
    xmlDoc *document = libxml().htmlNewDocNoDtD(nullptr, nullptr);
    if (!document)
        throw std::bad_alloc();
    return Ptr(new HtmlPage(document));
}

const std::vector<xmlNode *> &HtmlPage::elements()
{
    if (m_elementsVersion == m_version)
        return m_elements;
    m_elements.clear();
    // Without recursion and without a stack of its own: the nodes know their
    // parent and next sibling.
    const xmlNode *top = reinterpret_cast<const xmlNode *>(m_document);
    xmlNode *node = m_document->children;
    while (node) {
        if (isElement(node)) {
            m_elements.push_back(node);
            if (node->children) {
                node = node->children;
                continue;
            }
        }
        while (!node->next && node->parent != top)
            node = node->parent;
        node = node->next;
    }
    m_elementsVersion = m_version;
    return m_elements;
}

xmlNode *HtmlPage::createElement(const QByteArray &lowerName)
{
    xmlNode *element = libxml().xmlNewDocNode(
        m_document, nullptr, reinterpret_cast<const xmlChar *>(lowerName.constData()), nullptr);
    if (!element)
        throw std::bad_alloc();
    m_outside.push_back(element);
    return element;
}

bool HtmlPage::insert(xmlNode *parent, xmlNode *before, HtmlPage &from, xmlNode *node)
{
    if (isInclusiveAncestor(node, parent) || node == before)
        return false;
    if (&from != this) {
        xmlNode *copy = libxml().xmlDocCopyNode(node, m_document, 1);
        if (!copy)
            throw std::bad_alloc();
        setChosen(copy, isChosen(node));
        from.takeOut(node);
        m_outside.push_back(copy); // until it is in the tree
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

void HtmlPage::takeOut(xmlNode *node)
{
    if (!node->parent)
        return;
    libxml().xmlUnlinkNode(node);
    m_outside.push_back(node);
    changed();
}

void HtmlPage::replaceContent(xmlNode *element, const QByteArray &text)
{
    while (xmlNode *child = element->children) {
        libxml().xmlUnlinkNode(child);
        // Elements may have handles; text and comments have none.
        if (isElement(child))
            m_outside.push_back(child);
        else
            libxml().xmlFreeNode(child);
    }
    if (!text.isEmpty()) {
        xmlNode *node = libxml().xmlNewDocTextLen(
            m_document, reinterpret_cast<const xmlChar *>(text.constData()), int(text.size()));
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
