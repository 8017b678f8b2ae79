#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

class TFieldWidgets;

// The on-screen copy of the receipt: a ruled grid like the printed form, each
// box with its bilingual caption and the field's control inside it.
class TReceiptPanel : public QWidget
{
    Q_OBJECT

public:
    TReceiptPanel(const TFieldWidgets &widgets, QWidget *parent = nullptr);

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
    void place(const TFieldWidgets &widgets, const QString &name, const QRect &rect);
    void layOutHeader(const TFieldWidgets &widgets);
    void layOutSegments(const TFieldWidgets &widgets);
    void layOutAmounts(const TFieldWidgets &widgets);
    void layOutBottom(const TFieldWidgets &widgets);

    std::vector<Cell> FCells;
};
