#include "register/ReconciliationSheet.h"

#include "common/FontStandIns.h"
#include "common/TextRules.h"
#include "itinerary/SerialNumber.h"
#include "print/PagePdf.h"
#include "register/Reconciliation.h"

#include <QBuffer>
#include <QDateTime>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <vector>

namespace {

constexpr int resolution = 300; // dots per inch
constexpr qreal marginMm = 15;

qreal dots(qreal mm)
{
    return mm * resolution / 25.4;
}

// Writes lines and tables down the pages, starting a new page (with the
// table's header again) where the next line would not fit.
class SheetWriter
{
public:
    SheetWriter(QPdfWriter &writer, QPainter &painter)
        : m_writer(writer), m_painter(painter),
          m_font(installedFamily(QStringLiteral("宋体")), 10), m_width(m_painter.viewport().width()),
          m_bottom(m_painter.viewport().height() - dots(marginMm))
    {
        m_painter.setFont(m_font);
        m_lineHeight = QFontMetricsF(m_font, &m_writer).height() * 1.35;
        m_y = dots(marginMm);
        footer();
    }

    void title(const QString &text)
    {
        QFont big = m_font;
        big.setPointSizeF(16);
        big.setBold(true);
        m_painter.setFont(big);
        const qreal height = QFontMetricsF(big, &m_writer).height() * 1.4;
        m_painter.drawText(QRectF(left(), m_y, usable(), height), Qt::AlignCenter, text);
        m_painter.setFont(m_font);
        m_y += height;
    }

    void line(const QString &text, bool bold = false)
    {
        room(1);
        QFont font = m_font;
        font.setBold(bold);
        m_painter.setFont(font);
        cell(text, left(), usable());
        m_painter.setFont(m_font);
        m_y += m_lineHeight;
    }

    void gap() { m_y += m_lineHeight / 2; }

    // Column widths in millimetres; the header is repeated on every page.
    void table(const QStringList &header, const std::vector<qreal> &widthsMm,
               const std::vector<QStringList> &rows)
    {
        m_header = header;
        m_widths = widthsMm;
        headerRow();
        for (const QStringList &row : rows) {
            if (room(1))
                headerRow();
            cells(row);
            m_y += m_lineHeight;
        }
        m_header.clear();
        gap();
    }

private:
    qreal left() const { return dots(marginMm); }
    qreal usable() const { return m_width - 2 * dots(marginMm); }

    // A new page when lines more do not fit; true when one was begun.
    bool room(int lines)
    {
        if (m_y + lines * m_lineHeight <= m_bottom - m_lineHeight)
            return false;
        m_writer.newPage();
        ++m_page;
        m_y = dots(marginMm);
        footer();
        return true;
    }

    void footer()
    {
        m_painter.drawText(QRectF(left(), m_bottom, usable(), m_lineHeight), Qt::AlignCenter,
                           QStringLiteral("第 %1 页").arg(m_page));
    }

    void headerRow()
    {
        QFont bold = m_font;
        bold.setBold(true);
        m_painter.setFont(bold);
        cells(m_header);
        m_painter.setFont(m_font);
        const qreal under = m_y + m_lineHeight * 0.95;
        m_painter.drawLine(QPointF(left(), under), QPointF(left() + usable(), under));
        m_y += m_lineHeight;
    }

    void cells(const QStringList &row)
    {
        qreal x = left();
        for (size_t column = 0; column < m_widths.size(); ++column) {
            const qreal width = dots(m_widths[column]);
            cell(row.value(qsizetype(column)), x, width - dots(1.5));
            x += width;
        }
    }

    void cell(const QString &text, qreal x, qreal width)
    {
        const QFontMetricsF metrics(m_painter.font(), &m_writer);
        m_painter.drawText(QRectF(x, m_y, width, m_lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                           metrics.elidedText(text, Qt::ElideRight, width));
    }

    QPdfWriter &m_writer;
    QPainter &m_painter;
    QFont m_font;
    qreal m_width;
    qreal m_bottom;
    qreal m_lineHeight = 0;
    qreal m_y = 0;
    int m_page = 1;
    QStringList m_header;
    std::vector<qreal> m_widths;
};

} // namespace

QByteArray reconciliationPdf(const Reconciliation &account, const std::vector<UsedNumber> &details,
                             const QString &registerName, const QString &desk)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    setUpA4Pdf(writer, resolution, QStringLiteral("核销表"));
    {
        QPainter painter(&writer);
        SheetWriter sheet(writer, painter);
        sheet.title(QStringLiteral("行程单核销表"));
        sheet.line(QStringLiteral("范围：%1").arg(account.scope));
        sheet.line(QStringLiteral("登记：%1    制表：%2    %3")
                       .arg(registerName, desk,
                            QDateTime::currentDateTime().toString(
                                QStringLiteral("yyyy-MM-dd HH:mm"))));
        QString counts = QStringLiteral("已打印 %1 张    已作废 %2 张    缺号 %3 张")
                             .arg(account.printed.size())
                             .arg(account.voided.size())
                             .arg(account.missingCount());
        if (account.isRange)
            counts += QStringLiteral("    未用 %1 张").arg(account.unused);
        sheet.line(counts, true);
        sheet.gap();

        std::vector<QStringList> rows;
        const UsedNumber none;
        // What the other desks wrote, through the server, goes on paper as
        // one line of text each.
        const auto useOf = [&](qint64 number) {
            const UsedNumber *use = Reconciliation::find(details, number);
            if (!use)
                return none;
            UsedNumber shown = *use;
            for (QString *text : {&shown.time, &shown.desk, &shown.passenger, &shown.ticketNumber,
                                  &shown.total, &shown.voidReason})
                *text = foreignText(*text, 64);
            return shown;
        };
        for (qint64 number : account.printed) {
            const UsedNumber use = useOf(number);
            rows.push_back({serialDigits(number), use.time, use.desk, use.passenger,
                            use.ticketNumber, use.total});
        }
        sheet.line(QStringLiteral("已打印（%1 张）").arg(account.printed.size()), true);
        sheet.table({QStringLiteral("印刷序列"), QStringLiteral("时间"), QStringLiteral("柜台"),
                     QStringLiteral("旅客"), QStringLiteral("票号"), QStringLiteral("合计")},
                    {25, 36, 32, 35, 34, 18}, rows);

        rows.clear();
        for (qint64 number : account.voided) {
            const UsedNumber use = useOf(number);
            rows.push_back({serialDigits(number), use.time, use.desk, use.voidReason});
        }
        sheet.line(QStringLiteral("已作废（%1 张）").arg(account.voided.size()), true);
        sheet.table({QStringLiteral("印刷序列"), QStringLiteral("时间"), QStringLiteral("柜台"),
                     QStringLiteral("作废原因")},
                    {25, 36, 32, 87}, rows);

        rows.clear();
        const QStringList runs = Reconciliation::runs(account.missing);
        for (qsizetype i = 0; i < runs.size(); i += 2)
            rows.push_back({runs.value(i), runs.value(i + 1)});
        sheet.line(QStringLiteral("缺号（%1 张）").arg(account.missingCount()), true);
        sheet.table({QStringLiteral("号码"), QStringLiteral("号码")}, {90, 90}, rows);
    }
    return pdf;
}
