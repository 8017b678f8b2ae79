#include "app/ReceiptPanel.h"

#include "app/FieldWidgets.h"
#include "itinerary/FieldTable.h"

#include <QPainter>

namespace {

// Grid geometry in pixels, laid out like the receipt stock.
constexpr int gridLeft = 8;
constexpr int gridRight = 888;
constexpr int headerTop = 30;
constexpr int boxLineHeight = 40; // a box with its caption above the value
constexpr int columnsTop = headerTop + boxLineHeight;
constexpr int columnsHeight = 30;
constexpr int rowsTop = columnsTop + columnsHeight;
constexpr int rowHeight = 24;
constexpr int amountsTop = rowsTop + 5 * rowHeight;
constexpr int bottomTop = amountsTop + boxLineHeight;
constexpr int gridBottom = bottomTop + 2 * boxLineHeight;

// Column edges of the segment rows: row caption, terminal, city, city code,
// then carrier to allowance.
constexpr int columnEdges[] = {8, 58, 86, 166, 204, 274, 339, 389, 459, 509, 629, 729, 829, 888};
constexpr Field segmentColumns[] = {Field::Carrier,        Field::Flight,        Field::Seat,
                                    Field::Date,           Field::Time,          Field::FareBasis,
                                    Field::NotValidBefore, Field::NotValidAfter, Field::Allowance};

QString captionOf(FieldKey key)
{
    const FieldSpec *spec = findField(key);
    return spec ? spec->caption : QString();
}

// The value box inside a captioned box.
QRect valueBox(int left, int top, int width)
{
    return QRect(left + 4, top + 17, width - 8, 20);
}

} // namespace

ReceiptPanel::ReceiptPanel(const FieldWidgets &widgets, QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette paper = palette();
    paper.setColor(QPalette::Window, QColor(0xFC, 0xFC, 0xF6));
    setPalette(paper);

    layOutHeader(widgets);
    layOutSegments(widgets);
    layOutAmounts(widgets);
    layOutBottom(widgets);
}

QSize ReceiptPanel::sizeHint() const
{
    return QSize(gridRight + gridLeft, gridBottom + 4);
}

void ReceiptPanel::addCell(const QRect &rect, const QString &caption, Qt::Alignment alignment)
{
    m_cells.push_back({rect, caption, alignment});
}

void ReceiptPanel::place(const FieldWidgets &widgets, FieldKey key, const QRect &rect)
{
    if (QWidget *widget = widgets.widget(key)) {
        widget->setParent(this);
        widget->setGeometry(rect);
    }
}

void ReceiptPanel::layOutHeader(const FieldWidgets &widgets)
{
    // Above the grid: the international mark at the left, the print serial
    // number at the right.
    place(widgets, Field::InternationalMark, QRect(gridLeft, 4, 80, 22));
    addCell(QRect(680, 4, 58, 22), captionOf(Field::SerialNumber),
            Qt::AlignRight | Qt::AlignVCenter);
    place(widgets, Field::SerialNumber, QRect(742, 4, gridRight - 742, 22));

    struct Box
    {
        Field field;
        int left;
        int right;
    };
    for (const Box &box : {Box{Field::Passenger, 8, 208}, Box{Field::IdNumber, 208, 408},
                           Box{Field::Endorsement, 408, 738}, Box{Field::Pnr, 738, 888}}) {
        const int width = box.right - box.left;
        addCell(QRect(box.left, headerTop, width, boxLineHeight), captionOf(box.field));
        place(widgets, box.field, valueBox(box.left, headerTop, width));
    }
}

void ReceiptPanel::layOutSegments(const FieldWidgets &widgets)
{
    const int columns = int(std::size(columnEdges)) - 1;
    auto columnRect = [](int column, int top, int height) {
        return QRect(columnEdges[column], top, columnEdges[column + 1] - columnEdges[column],
                     height);
    };
    auto inside = [](const QRect &cell) { return cell.adjusted(2, 2, -2, -2); };

    // Column captions; the first four columns share one empty box.
    addCell(QRect(columnEdges[0], columnsTop, columnEdges[4] - columnEdges[0], columnsHeight), {});
    for (int column = 4; column < columns; ++column)
        addCell(columnRect(column, columnsTop, columnsHeight),
                captionOf({segmentColumns[column - 4], 1}), Qt::AlignCenter);

    for (int row = 1; row <= 5; ++row) {
        const int top = rowsTop + (row - 1) * rowHeight;
        addCell(columnRect(0, top, rowHeight), captionOf({Field::From, row}), Qt::AlignCenter);
        for (int column = 1; column < columns; ++column)
            addCell(columnRect(column, top, rowHeight), {});
        place(widgets, {Field::From, row}, inside(columnRect(2, top, rowHeight)));
        if (row == 5)
            break;
        place(widgets, {Field::Terminal, row}, inside(columnRect(1, top, rowHeight)));
        place(widgets, {Field::FromCode, row}, inside(columnRect(3, top, rowHeight)));
        for (int column = 4; column < columns; ++column)
            place(widgets, {segmentColumns[column - 4], row},
                  inside(columnRect(column, top, rowHeight)));
    }
}

void ReceiptPanel::layOutAmounts(const FieldWidgets &widgets)
{
    // Each amount with its currency or tax code before it.
    const struct
    {
        Field code;
        Field value;
    } amounts[] = {{Field::FareCurrency, Field::Fare},
                   {Field::AirportTaxCode, Field::AirportTax},
                   {Field::FuelSurchargeCode, Field::FuelSurcharge},
                   {Field::OtherTaxCode, Field::OtherTax},
                   {Field::TotalCurrency, Field::Total}};
    const int width = (gridRight - gridLeft) / int(std::size(amounts));
    for (int i = 0; i < int(std::size(amounts)); ++i) {
        const int left = gridLeft + i * width;
        addCell(QRect(left, amountsTop, width, boxLineHeight), captionOf(amounts[i].value));
        place(widgets, amounts[i].code, QRect(left + 4, amountsTop + 17, 40, 20));
        place(widgets, amounts[i].value, QRect(left + 48, amountsTop + 17, width - 52, 20));
    }
}

void ReceiptPanel::layOutBottom(const FieldWidgets &widgets)
{
    struct Box
    {
        Field field;
        int left;
        int right;
        int line;
    };
    for (const Box &box :
         {Box{Field::TicketNumber, 8, 248, 0}, Box{Field::CheckCode, 248, 368, 0},
          Box{Field::Information, 368, 738, 0}, Box{Field::Insurance, 738, 888, 0},
          Box{Field::IssuedBy, 328, 678, 1}, Box{Field::DateOfIssue, 678, 888, 1}}) {
        const int top = bottomTop + box.line * boxLineHeight;
        const int width = box.right - box.left;
        addCell(QRect(box.left, top, width, boxLineHeight), captionOf(box.field));
        place(widgets, box.field, valueBox(box.left, top, width));
    }
    // The agent code is written in two parts side by side.
    const int top = bottomTop + boxLineHeight;
    addCell(QRect(8, top, 320, boxLineHeight), captionOf({Field::AgentCode, 1}));
    place(widgets, {Field::AgentCode, 1}, QRect(12, top + 17, 154, 20));
    place(widgets, {Field::AgentCode, 2}, QRect(170, top + 17, 154, 20));
}

void ReceiptPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QColor(0x3A, 0x6E, 0x8F));
    QFont title = font(); // the window's face, drawn as the window draws it
    title.setPointSize(12);
    title.setBold(true);
    painter.save();
    painter.setFont(title);
    painter.drawText(QRect(200, 2, 460, 26), Qt::AlignCenter,
                     QStringLiteral("航空运输电子客票行程单"));
    painter.restore();

    for (const Cell &cell : m_cells) {
        if (cell.rect.top() >= headerTop)
            painter.drawRect(cell.rect);
        if (cell.caption.isEmpty())
            continue;
        const bool centred = cell.captionAlignment & Qt::AlignHCenter;
        QString caption = cell.caption;
        if (!centred)
            caption.replace(u'\n', u' ');
        painter.drawText(cell.rect.adjusted(4, 2, -2, -1), int(cell.captionAlignment), caption);
    }
    // The outer frame of the form is drawn heavier.
    painter.setPen(QPen(QColor(0x3A, 0x6E, 0x8F), 2));
    painter.drawRect(QRect(gridLeft, headerTop, gridRight - gridLeft, gridBottom - headerTop));
}
