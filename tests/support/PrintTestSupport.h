#pragma once

#include "ToolOutput.h"
#include "common/Pattern.h"
#include "itinerary/ItineraryFields.h"
#include "print/PageRenderer.h"
#include "print/ReceiptReport.h"
#include "print/ReportFiller.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

// Writes the fields of a field=value fixture into the receipt, in file order,
// so that the field rules run as they do for typing.
inline void loadReceipt(ItineraryFields &fields, const QString &fixture)
{
    QFile file(QStringLiteral(KESTRANO_FIXTURES "/print/") + fixture);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << fixture.toStdString();
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        ASSERT_GT(equals, 0) << line.toStdString();
        fields.setText(line.left(equals), line.mid(equals + 1));
    }
}

inline void loadSampleReceipt(ItineraryFields &fields)
{
    loadReceipt(fields, QStringLiteral("sample-receipt.txt"));
}

// Every Chinese character 24 pixels wide, every other character 11, whatever
// the size; a condensed font narrower by its stretch.
inline TextMeasure fixedWidths()
{
    return TextMeasure([](const QFont &font, const QString &text) {
        qreal width = 0;
        for (QChar c : text)
            width += hasChineseChar(QString(c)) ? 24 : 11;
        return font.stretch() > 0 ? width * font.stretch() / 100 : width;
    });
}

// The character labels printed at the layout label of that name, in order.
inline std::vector<const PrintLabel *> printedAt(const ReceiptReport &rep, const QString &labelName)
{
    std::vector<const PrintLabel *> characters;
    const PrintLabel *layoutLabel = rep.label(labelName);
    for (const auto &label : rep.reportPage().labels()) {
        if (label.get() != layoutLabel && label->name() == labelName)
            characters.push_back(label.get());
    }
    return characters;
}

inline QString printedText(const ReceiptReport &rep, const QString &labelName)
{
    QString text;
    for (const PrintLabel *character : printedAt(rep, labelName))
        text += character->text();
    return text;
}

// The page as a PDF without margins, the sheet's corner at the origin.
inline void writePdf(const ReportPage &page, const QString &path, int dpi = 1200)
{
    QPdfWriter writer(path);
    writer.setResolution(dpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(page.reportTitle());
    QPainter painter(&writer);
    renderPage(page, painter);
}

// A copy of a printed character on another page, in the same font, size,
// stretch and colour at the same place.
inline void copyCharacter(const PrintLabel &character, ReportPage &page)
{
    PrintLabel &copy = page.addLabel(character.name());
    copy.setTransparent(true);
    copy.setFontFamily(character.fontFamily());
    copy.setPointSize(character.pointSize());
    if (character.stretch() != 100)
        copy.setStretch(character.stretch());
    copy.setColour(character.colour());
    copy.setText(character.text());
    copy.setLeft(character.left());
    copy.setTop(character.top());
}

// Several pages in one PDF, so that one run of pdftotext reads them all.
inline void writePdfPages(const std::vector<const ReportPage *> &pages, const QString &path)
{
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        renderPage(*pages[i], painter);
    }
}

// A word as pdftotext finds it, in print-layout pixels from the sheet's corner.
struct Word
{
    QString text;
    qreal left;
    qreal top;
    qreal right = 0;
    qreal bottom = 0;
    int page = 0; // from 0
};

inline std::vector<Word> wordsOf(const QString &pdf)
{
    // At 96 "dpi" pdftotext reports print-layout pixels.
    const QString html =
        toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-r"),
                                                 QStringLiteral("96"), pdf, QStringLiteral("-")});
    static const QRegularExpression word = makePattern(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    std::vector<Word> words;
    int page = -1;
    for (const QRegularExpressionMatch &m : word.globalMatch(html)) {
        if (m.captured(0) == QLatin1String("<page ")) {
            ++page;
            continue;
        }
        words.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                         m.captured(3).toDouble(), m.captured(4).toDouble(), page});
    }
    return words;
}
