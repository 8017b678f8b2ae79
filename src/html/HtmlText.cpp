#include "html/HtmlText.h"

#include "html/HtmlNode.h"

#include <QSet>
#include <algorithm>
#include <vector>

namespace {

QSet<QString> tagSet(std::initializer_list<const char *> names)
{
    QSet<QString> set;
    for (const char *name : names)
        set.insert(QString::fromLatin1(name));
    return set;
}

const QSet<QString> &voidElements()
{
    static const QSet<QString> set =
        tagSet({"AREA", "BASE", "BASEFONT", "BGSOUND", "BR", "COL", "EMBED", "FRAME", "HR", "IMG",
                "INPUT", "KEYGEN", "LINK", "META", "PARAM", "SOURCE", "TRACK", "WBR"});
    return set;
}

// Blanks are kept as written inside these.
const QSet<QString> &preformattedElements()
{
    static const QSet<QString> set = tagSet({"PRE", "LISTING", "TEXTAREA", "PLAINTEXT", "XMP"});
    return set;
}

// Their text is taken as it stands, never as markup.
const QSet<QString> &rawTextElements()
{
    static const QSet<QString> set =
        tagSet({"SCRIPT", "STYLE", "XMP", "IFRAME", "NOEMBED", "NOFRAMES", "PLAINTEXT"});
    return set;
}

// Never shown on the page.
const QSet<QString> &hiddenElements()
{
    static const QSet<QString> set =
        tagSet({"HEAD", "TITLE", "SCRIPT", "STYLE", "TEMPLATE", "META", "LINK", "BASE", "NOEMBED",
                "NOFRAMES", "IFRAME", "AREA", "PARAM", "DATALIST", "RP"});
    return set;
}

// Shown on lines of their own.
const QSet<QString> &blockElements()
{
    static const QSet<QString> set = tagSet(
        {"ADDRESS",  "ARTICLE",    "ASIDE",    "BLOCKQUOTE", "BODY",    "CAPTION",   "CENTER",
         "DD",       "DETAILS",    "DIALOG",   "DIR",        "DIV",     "DL",        "DT",
         "FIELDSET", "FIGCAPTION", "FIGURE",   "FOOTER",     "FORM",    "FRAMESET",  "H1",
         "H2",       "H3",         "H4",       "H5",         "H6",      "HEADER",    "HGROUP",
         "HR",       "HTML",       "LEGEND",   "LI",         "LISTING", "MAIN",      "MENU",
         "NAV",      "OL",         "OPTGROUP", "OPTION",     "P",       "PLAINTEXT", "PRE",
         "SECTION",  "SUMMARY",    "TABLE",    "TR",         "UL",      "XMP"});
    return set;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
}

// Counts the preformatting elements from node up to the root: the text of
// an element inside PRE keeps its blanks too.
int preformattedAround(const THtmlNode &node)
{
    int count = 0;
    for (const THtmlNode *n = &node; n; n = n->parent()) {
        if (n->isElement() && preformattedElements().contains(n->tagName()))
            ++count;
    }
    return count;
}

// Builds the shown text piece by piece: blanks and the line breaks that
// blocks ask for are held back until visible text follows, so none of them
// appears at the start or end of a line or of the whole text.
class TTextBuilder
{
public:
    void addText(const QString &text, bool preformatted)
    {
        if (preformatted) {
            appendPiece(text);
            return;
        }
        qsizetype i = 0;
        while (i < text.size()) {
            if (isBlank(text.at(i))) {
                FPendingSpace = true;
                while (i < text.size() && isBlank(text.at(i)))
                    ++i;
                continue;
            }
            const qsizetype start = i;
            while (i < text.size() && !isBlank(text.at(i)))
                ++i;
            appendPiece(text.mid(start, i - start));
        }
    }

    void addLineBreak()
    {
        flushBreaks();
        FText += u'\n';
        FPendingSpace = false;
        FAtLineStart = true;
    }

    void requireLineBreaks(int count)
    {
        FPendingBreaks = std::max(FPendingBreaks, count);
        FPendingSpace = false;
    }

    void addTab()
    {
        flushBreaks();
        FText += u'\t';
        FPendingSpace = false;
        FAtLineStart = true; // a cell starts without blanks, as a line does
    }

    QString take() { return std::move(FText); }

private:
    void flushBreaks()
    {
        if (FPendingBreaks > 0 && !FText.isEmpty()) {
            FText += QString(FPendingBreaks, u'\n');
            FAtLineStart = true;
        }
        if (FPendingBreaks > 0)
            FPendingSpace = false;
        FPendingBreaks = 0;
    }

    void appendPiece(const QString &piece)
    {
        if (piece.isEmpty())
            return;
        flushBreaks();
        if (FPendingSpace && !FAtLineStart && !FText.isEmpty())
            FText += u' ';
        FPendingSpace = false;
        FText += piece;
        FAtLineStart = piece.back() == u'\n';
    }

    QString FText;
    int FPendingBreaks = 0;
    bool FPendingSpace = false;
    bool FAtLineStart = true;
};

int lineBreaksAround(const QString &tagName)
{
    if (tagName == u"P")
        return 2;
    return blockElements().contains(tagName) ? 1 : 0;
}

bool isCell(const THtmlNode &node)
{
    return node.isElement(u"TD") || node.isElement(u"TH");
}

void appendEscaped(QString &out, const QString &text, bool inAttribute)
{
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case 0x00A0:
            out += QStringLiteral("&nbsp;");
            break;
        case u'"':
            out += inAttribute ? QStringLiteral("&quot;") : QStringLiteral("\"");
            break;
        case u'<':
            out += inAttribute ? QStringLiteral("<") : QStringLiteral("&lt;");
            break;
        case u'>':
            out += inAttribute ? QStringLiteral(">") : QStringLiteral("&gt;");
            break;
        default:
            out += c;
        }
    }
}

QString collapsedBlanks(const QString &text)
{
    QString out;
    out.reserve(text.size());
    bool inBlanks = false;
    for (QChar c : text) {
        if (isBlank(c)) {
            if (!inBlanks)
                out += u' ';
            inBlanks = true;
        } else {
            out += c;
            inBlanks = false;
        }
    }
    return out;
}

void appendStartTag(QString &out, const THtmlNode &element)
{
    const QString name = element.tagName();
    out += u'<';
    out += name;
    // The line break element's form that the journey cells are split at.
    if (name != u"BR") {
        for (const THtmlNode::Attribute &attribute : element.attributes()) {
            out += u' ';
            out += attribute.name;
            out += QStringLiteral("=\"");
            appendEscaped(out, attribute.value, true);
            out += u'"';
        }
    }
    out += u'>';
}

} // namespace

bool isVoidElement(const QString &tagName)
{
    return voidElements().contains(tagName);
}

QString renderedText(const THtmlNode &node)
{
    TTextBuilder text;
    struct Step
    {
        const THtmlNode *node;
        bool leaving;
        bool tabAfter; // a cell that another cell follows in its row
    };
    int preformatted = preformattedAround(node);
    std::vector<Step> pending;
    const auto pushChildren = [&pending](const THtmlNode &parent) {
        bool cellFollows = false;
        for (auto it = parent.children().rbegin(); it != parent.children().rend(); ++it) {
            const bool cell = isCell(**it);
            pending.push_back({it->get(), false, cell && cellFollows});
            cellFollows = cellFollows || cell;
        }
    };
    pushChildren(node);
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        const THtmlNode &current = *step.node;
        if (current.kind() == THtmlNode::Kind::Text) {
            text.addText(current.text(), preformatted > 0);
            continue;
        }
        if (!current.isElement())
            continue;
        const QString name = current.tagName();
        if (step.leaving) {
            if (preformattedElements().contains(name))
                --preformatted;
            if (const int breaks = lineBreaksAround(name))
                text.requireLineBreaks(breaks);
            if (step.tabAfter)
                text.addTab();
            continue;
        }
        if (name == u"BR") {
            text.addLineBreak();
            continue;
        }
        if (hiddenElements().contains(name))
            continue;
        if (const int breaks = lineBreaksAround(name))
            text.requireLineBreaks(breaks);
        if (preformattedElements().contains(name))
            ++preformatted;
        pending.push_back({&current, true, step.tabAfter});
        pushChildren(current);
    }
    return text.take();
}

QString innerHtml(const THtmlNode &node)
{
    QString out;
    struct Frame
    {
        const THtmlNode *node;
        size_t next;
    };
    int preformatted = preformattedAround(node);
    std::vector<Frame> frames{{&node, 0}};
    while (!frames.empty()) {
        Frame &frame = frames.back();
        const THtmlNode &parent = *frame.node;
        if (frame.next == parent.children().size()) {
            if (&parent != &node) {
                out += QStringLiteral("</");
                out += parent.tagName();
                out += u'>';
                if (preformattedElements().contains(parent.tagName()))
                    --preformatted;
            }
            frames.pop_back();
            continue;
        }
        const THtmlNode &child = *parent.children()[frame.next++];
        switch (child.kind()) {
        case THtmlNode::Kind::Text:
            if (parent.isElement() && rawTextElements().contains(parent.tagName()))
                out += child.text();
            else
                appendEscaped(out, preformatted > 0 ? child.text() : collapsedBlanks(child.text()),
                              false);
            break;
        case THtmlNode::Kind::Comment:
            out += QStringLiteral("<!--") + child.text() + QStringLiteral("-->");
            break;
        case THtmlNode::Kind::Element:
            appendStartTag(out, child);
            if (!isVoidElement(child.tagName())) {
                if (preformattedElements().contains(child.tagName()))
                    ++preformatted;
                frames.push_back({&child, 0}); // frame is not used after this
            }
            break;
        case THtmlNode::Kind::Document:
            break;
        }
    }
    return out;
}
