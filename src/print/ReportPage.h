#pragma once

#include "print/PrintLabel.h"
#include "print/TextMeasure.h"

#include <QColor>
#include <QLineF>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

// Where a value sits on the stock: from its anchor to its right limit, one
// line of its font high. The preview shows these under the values; they
// never reach paper.
struct ValueBox
{
    QString label;   // the layout label the value is printed at
    QString caption; // the field's caption
    QRectF box;
    int stretch = 100;  // percent the value was condensed to
    qreal shrunkBy = 0; // points its sizes were stepped down
};

// A straight line or a frame drawn on the page (the calibration page's
// crosses, boxes and rulers), in print-layout pixels.
struct PageMark
{
    QLineF line; // a line, or the diagonal of a frame
    bool frame = false;
    qreal penWidth = 0.5;
    QColor colour = Qt::black;
};

// A page of absolutely placed text labels: A4 portrait with 10 mm margins,
// one title band and the labels, which belong to the page and go with it.
// Labels are drawn after the band, in the order in which they were added.
class ReportPage
{
public:
    explicit ReportPage(TextMeasure measure = TextMeasure());

    ReportPage(const ReportPage &) = delete;
    ReportPage &operator=(const ReportPage &) = delete;

    static constexpr qreal pixelsPerInch = 96.0;
    static qreal pixelsFromMillimetres(qreal mm) { return mm * pixelsPerInch / 25.4; }
    static qreal millimetresFromPixels(qreal px) { return px * 25.4 / pixelsPerInch; }

    // A4 portrait, 10 mm margins on all sides.
    static QPageLayout pageLayout();
    // The sheet in print-layout pixels, origin at its top-left corner.
    static QRectF sheet();

    // The title band: white and opaque, printed once at the top-left margin
    // corner; it carries no labels.
    const QRectF &titleBand() const { return m_titleBand; }
    void setTitleBand(const QSizeF &size);

    // The name of the print job.
    const QString &reportTitle() const { return m_reportTitle; }
    void setReportTitle(const QString &title) { m_reportTitle = title; }

    // A new label in the page's default font ("Arial Narrow" 10 pt, black),
    // opaque, left-aligned, at the sheet corner.
    PrintLabel &addLabel(const QString &name = QString());
    // The first label of that exact name, or nullptr.
    PrintLabel *findLabel(const QString &name) const;
    const std::vector<std::unique_ptr<PrintLabel>> &labels() const { return m_labels; }

    const TextMeasure &measure() const { return m_measure; }

    void addValueBox(ValueBox box) { m_valueBoxes.push_back(std::move(box)); }
    const std::vector<ValueBox> &valueBoxes() const { return m_valueBoxes; }

    // Drawn after the band and before the labels.
    void addMark(const PageMark &mark) { m_marks.push_back(mark); }
    const std::vector<PageMark> &marks() const { return m_marks; }

    // Run each time a print job of the page has been handed completely to a
    // printer; never for a preview.
    void setAfterPrint(std::function<void()> hook) { m_afterPrint = std::move(hook); }
    void printed() const;

private:
    TextMeasure m_measure;
    QRectF m_titleBand;
    QString m_reportTitle;
    std::vector<std::unique_ptr<PrintLabel>> m_labels;
    std::vector<ValueBox> m_valueBoxes;
    std::vector<PageMark> m_marks;
    std::function<void()> m_afterPrint;
};
