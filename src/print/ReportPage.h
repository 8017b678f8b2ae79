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
struct TValueBox
{
    QString label;   // the layout label the value is printed at
    QString caption; // the field's caption
    QRectF box;
    int stretch = 100;     // percent the value was condensed to
    qreal shrunkBy = 0;    // points its sizes were stepped down
};

// A straight line or a frame drawn on the page (the calibration page's
// crosses, boxes and rulers), in print-layout pixels.
struct TPageMark
{
    QLineF line; // a line, or the diagonal of a frame
    bool frame = false;
    qreal penWidth = 0.5;
    QColor colour = Qt::black;
};

// A page of absolutely placed text labels: A4 portrait with 10 mm margins,
// one title band and the labels, which belong to the page and go with it.
// Labels are drawn after the band, in the order in which they were added.
class TReportPage
{
public:
    explicit TReportPage(TTextMeasure measure = TTextMeasure());

    TReportPage(const TReportPage &) = delete;
    TReportPage &operator=(const TReportPage &) = delete;

    static constexpr qreal pixelsPerInch = 96.0;
    static qreal pixelsFromMillimetres(qreal mm) { return mm * pixelsPerInch / 25.4; }
    static qreal millimetresFromPixels(qreal px) { return px * 25.4 / pixelsPerInch; }

    // A4 portrait, 10 mm margins on all sides.
    static QPageLayout pageLayout();
    // The sheet in print-layout pixels, origin at its top-left corner.
    static QRectF sheet();

    // The title band: white and opaque, printed once at the top-left margin
    // corner; it carries no labels.
    const QRectF &titleBand() const { return FTitleBand; }
    void setTitleBand(const QSizeF &size);

    // The name of the print job.
    const QString &reportTitle() const { return FReportTitle; }
    void setReportTitle(const QString &title) { FReportTitle = title; }

    // A new label in the page's default font ("Arial Narrow" 10 pt, black),
    // opaque, left-aligned, at the sheet corner.
    TPrintLabel &addLabel(const QString &name = QString());
    // The first label of that exact name, or nullptr.
    TPrintLabel *findLabel(const QString &name) const;
    const std::vector<std::unique_ptr<TPrintLabel>> &labels() const { return FLabels; }

    const TTextMeasure &measure() const { return FMeasure; }

    void addValueBox(TValueBox box) { FValueBoxes.push_back(std::move(box)); }
    const std::vector<TValueBox> &valueBoxes() const { return FValueBoxes; }

    // Drawn after the band and before the labels.
    void addMark(const TPageMark &mark) { FMarks.push_back(mark); }
    const std::vector<TPageMark> &marks() const { return FMarks; }

    // Run each time a print job of the page has been handed completely to a
    // printer; never for a preview.
    void setAfterPrint(std::function<void()> hook) { FAfterPrint = std::move(hook); }
    void printed() const;

private:
    TTextMeasure FMeasure;
    QRectF FTitleBand;
    QString FReportTitle;
    std::vector<std::unique_ptr<TPrintLabel>> FLabels;
    std::vector<TValueBox> FValueBoxes;
    std::vector<TPageMark> FMarks;
    std::function<void()> FAfterPrint;
};
