#pragma once

#include "html/MarkupTokenizer.h"

#include <QByteArrayView>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

// What a page may demand of the HTML parser. Pages come from the network,
// and the HTML5 tree rules that the parser follows cost time in proportion
// to the depth of the open elements for every tag, compare every attribute
// of a tag with all before it, and reopen every unclosed formatting element
// (B, FONT...) after each block that ends inside it. A page built to
// exploit that would stall the program for minutes or fill its memory, so a
// page beyond these limits is refused before it is parsed. Real pages stay
// far below them.
namespace HtmlLimits {
inline constexpr qsizetype maxPageBytes = 4 * 1024 * 1024; // in UTF-8
inline constexpr int maxDepth = 200;
inline constexpr int maxAttributes = 128;
inline constexpr int maxOpenFormatting = 128;
} // namespace HtmlLimits

// Follows the open elements of a page the way the HTML5 tree rules do, in
// broad strokes and always erring towards more depth, in time linear in the
// page; throws KestranoError when the page is beyond a limit.
class TMarkupGuard
{
public:
    static void check(QByteArrayView page);
    // The size limit alone, for a page of that many bytes.
    static void checkSize(qsizetype bytes);

private:
    struct Active
    {
        int tag;
        bool marker;
        int position; // on the open-element stack, -1 when closed
        std::string attributes;
    };
    using ActiveIt = std::list<Active>::iterator;

    // An open element, and for each kind of scope the position of the
    // nearest element at or below it that bounds that scope (-1 for none).
    struct Open
    {
        int tag;
        bool foreign;     // SVG or MathML
        bool integration; // a foreign element whose content is HTML again
        int scope;
        int buttonScope;
        int listScope;
        int tableScope;
        int special;
        int block; // a special element other than ADDRESS, DIV and P
        bool dead; // taken out of the stack below its top: no longer counted
        bool hasActive;
        ActiveIt active;
    };

    explicit TMarkupGuard(QByteArrayView page);
    void run();
    void startTag(const TMarkupTokenizer::Token &token, int tag);
    void endTag(int tag);
    void adoptionAgency(int tag);

    int tagId(const std::string &name);
    unsigned flags(int tag) const;
    void push(int tag, bool foreign = false, bool integration = false);
    void pushFormatting(int tag, QByteArrayView attributes);
    void pushMarker(int tag);
    void popTop();
    void popTo(int position);
    void remove(int position);
    int top(int tag) const;
    int topOf(int Open::*scope) const;
    int inScope(int tag, int Open::*scope) const;
    bool inForeign() const;
    bool inTemplate() const;
    void closeP();
    void reconstruct();
    ActiveIt lastActive(int tag);
    void eraseActive(ActiveIt entry);
    void countReconstructed(qint64 elements);

    TMarkupTokenizer FTokens;
    std::vector<Open> FOpen;
    int FLive = 0; // the open elements that are not dead
    std::list<Active> FActive;
    int FFormatting = 0;
    std::vector<std::vector<int>> FPositions; // by tag: where it is open
    std::unordered_map<std::string, int> FUnknownTags;
    qint64 FReconstructed = 0;
    qint64 FReconstructionBudget;
};
