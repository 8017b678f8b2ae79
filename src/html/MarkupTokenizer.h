#pragma once

#include <QByteArrayView>
#include <string>

// A quick pass over a page's bytes that finds its tags the way an HTML
// tokenizer does (comments, quoted attribute values, text of SCRIPT and its
// kind) without building anything. Enough to judge the shape of a page
// before the real parser sees it; character references and the finer error
// rules of HTML do not matter for that.
class TMarkupTokenizer
{
public:
    enum class Kind { StartTag, EndTag, Text, End };

    struct Token
    {
        Kind kind = Kind::End;
        std::string name;          // lower case
        QByteArrayView attributes; // as written, for comparing two tags; the text of a text token
        int attributeCount = 0;
        bool selfClosing = false;
    };

    explicit TMarkupTokenizer(QByteArrayView page) : FPage(page) {}

    // The next token; a run of text comes as one token.
    const Token &next();

    // After the start tag of an element whose content is text (SCRIPT,
    // TEXTAREA...): goes past that text and its end tag.
    void skipTextUntilEndTag(std::string name);
    // After PLAINTEXT: the rest of the page is text.
    void skipToEnd() { FPosition = FPage.size(); }

private:
    bool atTagStart() const;
    void readTag(bool endTag);
    void skipPast(QByteArrayView marker);
    void skipBlanks();
    bool atEnd() const { return FPosition >= FPage.size(); }
    char peek(qsizetype ahead = 0) const
    {
        return FPosition + ahead < FPage.size() ? FPage[FPosition + ahead] : '\0';
    }

    QByteArrayView FPage;
    qsizetype FPosition = 0;
    Token FToken;
};
