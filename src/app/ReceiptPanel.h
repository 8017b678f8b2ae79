#pragma once

#include "itinerary/FieldTable.h"

#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

class FieldWidgets;

// The on-screen copy of the receipt: a ruled grid like the printed form, each
// box with its bilingual caption and the field's control inside it.
class ReceiptPanel : public QWidget
{
    Q_OBJECT

public:
    ReceiptPanel(const FieldWidgets &widgets, QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Cell
    {
        QRect rect;
        QString caption;
        Qt::Alignment captionAlignment;
    };

    void addCell(const QRect &rect, const QString &caption,
                 Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);
    void place(const FieldWidgets &widgets, FieldKey key, const QRect &rect);
    void layOutHeader(const FieldWidgets &widgets);
    void layOutSegments(const FieldWidgets &widgets);
    void layOutAmounts(const FieldWidgets &widgets);
    void layOutBottom(const FieldWidgets &widgets);

    std::vector<Cell> m_cells;
};
