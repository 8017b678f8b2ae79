#include "html/HtmlText.h"

#include "html/LibxmlNodes.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>

using namespace LibxmlNodes;

namespace {

enum TagTrait : unsigned {
    Void = 1,         // never has content or an end tag
    Preformatted = 2, // blanks are kept as written inside
    RawText = 4,      // its text is taken as it stands, never as markup
    Hidden = 8,       // never shown on the page
    Block = 16,       // shown on lines of its own
    Paragraph = 32,   // with an empty line before and after
    Cell = 64,        // a cell of a table row
    LineBreak = 128,
};

struct Tag
{
    const char *name;
    unsigned traits;
};

// Sorted by name, for a binary search.
constexpr Tag tags[] = {
    {"address", Block},
    {"area", Void | Hidden},
    {"article", Block},
    {"aside", Block},
    {"base", Void | Hidden},
    {"basefont", Void},
    {"bgsound", Void},
    {"blockquote", Block},
    {"body", Block},
    {"br", Void | LineBreak},
    {"caption", Block},
    {"center", Block},
    {"col", Void},
    {"datalist", Hidden},
    {"dd", Block},
    {"details", Block},
    {"dialog", Block},
    {"dir", Block},
    {"div", Block},
    {"dl", Block},
    {"dt", Block},
    {"embed", Void},
    {"fieldset", Block},
    {"figcaption", Block},
    {"figure", Block},
    {"footer", Block},
    {"form", Block},
    {"frame", Void},
    {"frameset", Block},
    {"h1", Block},
    {"h2", Block},
    {"h3", Block},
    {"h4", Block},
    {"h5", Block},
    {"h6", Block},
    {"head", Hidden},
    {"header", Block},
    {"hgroup", Block},
    {"hr", Void | Block},
    {"html", Block},
    {"iframe", RawText | Hidden},
    {"img", Void},
    {"input", Void},
    {"keygen", Void},
    {"legend", Block},
    {"li", Block},
    {"link", Void | Hidden},
    {"listing", Preformatted | Block},
    {"main", Block},
    {"menu", Block},
    {"meta", Void | Hidden},
    {"nav", Block},
    {"noembed", RawText | Hidden},
    {"noframes", RawText | Hidden},
    {"ol", Block},
    {"optgroup", Block},
    {"option", Block},
    {"p", Block | Paragraph},
    {"param", Void | Hidden},
    {"plaintext", Preformatted | RawText | Block},
    {"pre", Preformatted | Block},
    {"rp", Hidden},
    {"script", RawText | Hidden},
    {"section", Block},
    {"source", Void},
    {"style", RawText | Hidden},
    {"summary", Block},
    {"table", Block},
    {"td", Cell},
    {"template", Hidden},
    {"textarea", Preformatted},
    {"th", Cell},
    {"title", Hidden},
    {"tr", Block},
    {"track", Void},
    {"ul", Block},
    {"wbr", Void},
    {"xmp", Preformatted | RawText | Block},
};

constexpr bool sortedByName()
{
    for (size_t i = 1; i < std::size(tags); ++i) {
        if (!(std::string_view(tags[i - 1].name) < std::string_view(tags[i].name)))
            return false;
    }
    return true;
}
static_assert(sortedByName());

unsigned traitsOf(const xmlNode *node)
{
    if (!isElement(node))
        return 0;
    const char *name = chars(node->name);
    const auto place = std::lower_bound(
        std::begin(tags), std::end(tags), name,
        [](const Tag &tag, const char *wanted) { return std::strcmp(tag.name, wanted) < 0; });
    return place != std::end(tags) && std::strcmp(place->name, name) == 0 ? place->traits : 0;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// Counts the preformatting elements from the element up to the root: the
// text of an element inside PRE keeps its blanks too.
int preformattedAround(const xmlNode *element)
{
    int count = 0;
    for (const xmlNode *node = element; node; node = node->parent) {
        if (traitsOf(node) & Preformatted)
            ++count;
    }
    return count;
}

// A cell that another cell follows in its row is followed by a tab.
bool cellFollows(const xmlNode *cell)
{
    for (const xmlNode *next = cell->next; next; next = next->next) {
        if (traitsOf(next) & Cell)
            return true;
    }
    return false;
}

// Builds the shown text piece by piece: blanks and the line breaks that
// blocks ask for are held back until visible text follows, so none of them
// appears at the start or end of a line or of the whole text.
class TextBuilder
{
public:
    void addText(QByteArrayView text, bool preformatted)
    {
        if (preformatted) {
            appendPiece(text);
            return;
        }
        qsizetype i = 0;
        while (i < text.size()) {
            if (isBlank(text[i])) {
                m_pendingSpace = true;
                while (i < text.size() && isBlank(text[i]))
                    ++i;
                continue;
            }
            const qsizetype start = i;
            while (i < text.size() && !isBlank(text[i]))
                ++i;
            appendPiece(text.sliced(start, i - start));
        }
    }

    void addLineBreak()
    {
        flushBreaks();
        m_text += '\n';
        m_pendingSpace = false;
        m_atLineStart = true;
    }

    void requireLineBreaks(int count)
    {
        m_pendingBreaks = std::max(m_pendingBreaks, count);
        m_pendingSpace = false;
    }

    void addTab()
    {
        flushBreaks();
        m_text += '\t';
        m_pendingSpace = false;
        m_atLineStart = true; // a cell starts without blanks, as a line does
    }

    QString take() const { return QString::fromUtf8(m_text.data(), qsizetype(m_text.size())); }

private:
    void flushBreaks()
    {
        if (m_pendingBreaks > 0 && !m_text.empty()) {
            m_text.append(size_t(m_pendingBreaks), '\n');
            m_atLineStart = true;
        }
        if (m_pendingBreaks > 0)
            m_pendingSpace = false;
        m_pendingBreaks = 0;
    }

    void appendPiece(QByteArrayView piece)
    {
        if (piece.isEmpty())
            return;
        flushBreaks();
        if (m_pendingSpace && !m_atLineStart && !m_text.empty())
            m_text += ' ';
        m_pendingSpace = false;
        m_text.append(piece.data(), size_t(piece.size()));
        m_atLineStart = piece.back() == '\n';
    }

    std::string m_text;
    int m_pendingBreaks = 0;
    bool m_pendingSpace = false;
    bool m_atLineStart = true;
};

// With collapse, every run of blanks is written as one space.
void appendEscaped(std::string &out, QByteArrayView text, bool inAttribute, bool collapse = false)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (collapse && isBlank(c)) {
            out += ' ';
            while (i + 1 < text.size() && isBlank(text[i + 1]))
                ++i;
            continue;
        }
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '\xC2':
            // U+00A0, the no-break space, is C2 A0 in UTF-8.
            if (i + 1 < text.size() && text[i + 1] == '\xA0') {
                out += "&nbsp;";
                ++i;
            } else {
                out += c;
            }
            break;
        case '"':
            out += inAttribute ? "&quot;" : "\"";
            break;
        case '<':
            out += inAttribute ? "<" : "&lt;";
            break;
        case '>':
            out += inAttribute ? ">" : "&gt;";
            break;
        default:
            out += c;
        }
    }
}

void appendUpperName(std::string &out, const xmlNode *element)
{
    const char *name = chars(element->name);
    const size_t start = out.size();
    for (const char *c = name; *c; ++c) {
        if (static_cast<unsigned char>(*c) >= 0x80) {
            // A name that the program made, outside ASCII.
            out.resize(start);
            out += QString::fromUtf8(name).toUpper().toStdString();
            return;
        }
        out += *c >= 'a' && *c <= 'z' ? char(*c - 'a' + 'A') : *c;
    }
}

void appendStartTag(std::string &out, const xmlNode *element, unsigned traits)
{
    out += '<';
    appendUpperName(out, element);
    // The line break element's form that the journey cells are split at.
    if (!(traits & LineBreak)) {
        for (const xmlAttr *attribute = element->properties; attribute;
             attribute = attribute->next) {
            out += ' ';
            out += chars(attribute->name);
            out += "=\"";
            appendEscaped(out, valueOf(attribute), true);
            out += '"';
        }
    }
    out += '>';
}

} // namespace

QString renderedText(const xmlNode *element)
{
    TextBuilder text;
    int preformatted = preformattedAround(element);
    // Down to the first child, along the siblings, and up again when a
    // parent's children are done: every element is entered and left once.
    const xmlNode *node = element->children;
    while (node) {
        const unsigned traits = traitsOf(node);
        bool enter = false;
        if (isText(node)) {
            text.addText(contentOf(node), preformatted > 0);
        } else if (traits & LineBreak) {
            text.addLineBreak();
        } else if (isElement(node) && !(traits & Hidden)) {
            if (traits & Block)
                text.requireLineBreaks(traits & Paragraph ? 2 : 1);
            if (traits & Preformatted)
                ++preformatted;
            enter = true;
        }
        if (enter && node->children) {
            node = node->children;
            continue;
        }
        // Leaving the node; then each parent whose last child it was.
        for (;;) {
            if (enter) {
                const unsigned left = traitsOf(node);
                if (left & Preformatted)
                    --preformatted;
                if (left & Block)
                    text.requireLineBreaks(left & Paragraph ? 2 : 1);
                if ((left & Cell) && cellFollows(node))
                    text.addTab();
            }
            if (node->next) {
                node = node->next;
                break;
            }
            node = node->parent;
            if (node == element) {
                node = nullptr;
                break;
            }
            enter = true; // a parent was entered, or its children not walked
        }
    }
    return text.take();
}

QString innerHtml(const xmlNode *element)
{
    std::string out;
    int preformatted = preformattedAround(element);
    const xmlNode *node = element->children;
    while (node) {
        const unsigned traits = traitsOf(node);
        bool entered = false;
        switch (node->type) {
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
            if (traitsOf(node->parent) & RawText)
                out.append(contentOf(node).data(), size_t(contentOf(node).size()));
            else
                appendEscaped(out, contentOf(node), false, preformatted == 0);
            break;
        case XML_COMMENT_NODE:
            out += "<!--";
            out.append(contentOf(node).data(), size_t(contentOf(node).size()));
            out += "-->";
            break;
        case XML_ELEMENT_NODE:
            appendStartTag(out, node, traits);
            if (!(traits & Void)) {
                if (traits & Preformatted)
                    ++preformatted;
                entered = true;
            }
            break;
        default:
            // The document type, processing instructions: nothing a page
            // shows.
            break;
        }
        if (entered && node->children) {
            node = node->children;
            continue;
        }
        for (;;) {
            if (entered) {
                out += "</";
                appendUpperName(out, node);
                out += '>';
                if (traitsOf(node) & Preformatted)
                    --preformatted;
            }
            if (node->next) {
                node = node->next;
                break;
            }
            node = node->parent;
            if (node == element) {
                node = nullptr;
                break;
            }
            entered = true;
        }
    }
    return QString::fromUtf8(out.data(), qsizetype(out.size()));
}
