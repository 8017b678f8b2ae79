#include "app/JournalWindow.h"

#include "app/MessageBox.h"
#include "app/NamedButton.h"
#include "common/CsvText.h"
#include "common/KestranoError.h"
#include "common/SafeSave.h"
#include "print/JournalModel.h"
#include "print/PrintJournal.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

std::optional<QString> askReason(QWidget *parent)
{
    bool ok = false;
    const QString reason =
        QInputDialog::getText(parent, QStringLiteral("作废"), QStringLiteral("作废原因："),
                              QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return reason;
}

std::optional<bool> askPrinted(QWidget *parent, const QString &serialNumber)
{
    const QStringList choices = {QStringLiteral("已打印（票证已用掉）"),
                                 QStringLiteral("未打印（票证没有用掉）")};
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        parent, QStringLiteral("确认结果"),
        QStringLiteral("无法确认印刷序列 %1 的行程单是否已打印。请查看票证后选择：")
            .arg(serialNumber),
        choices, 0, false, &ok);
    if (!ok)
        return std::nullopt;
    return chosen == choices.front();
}

QString askPath(QWidget *parent)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("导出"),
                                        QStringLiteral("打印记录.csv"),
                                        QStringLiteral("CSV (*.csv)"));
}

} // namespace

JournalWindow::JournalWindow(PrintJournal &journal, ItineraryFields &fields, QWidget *parent)
    : QWidget(parent, Qt::Window), m_journal(journal), m_fields(fields), m_reasonPrompt(&askReason),
      m_pathPrompt(&askPath), m_settlementPrompt(&askPrinted)
{
    setObjectName(QStringLiteral("frmJournal"));
    setWindowTitle(QStringLiteral("打印记录"));
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(820, 520);

    m_model = new JournalModel(journal, this);

    auto *searchLabel = new QLabel(QStringLiteral("查找："), this);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("edtSearch"));
    m_search->setAccessibleName(QStringLiteral("查找"));
    m_search->setPlaceholderText(QStringLiteral("印刷序列、票号或旅客姓名"));
    m_search->setClearButtonEnabled(true);
    searchLabel->setBuddy(m_search);
    connect(m_search, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_model->setFilter(text); });

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("grdJournal"));
    m_table->setAccessibleName(QStringLiteral("打印记录"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {120, 140, 110, 120, 140, 80};
    for (int column = 0; column < int(std::size(widths)); ++column)
        m_table->setColumnWidth(column, widths[column]);

    QPushButton *voidRow = namedButton(QStringLiteral("btnVoid"), QStringLiteral("作废"), this);
    QPushButton *settle = namedButton(QStringLiteral("btnSettle"), QStringLiteral("确认结果"), this);
    QPushButton *load = namedButton(QStringLiteral("btnLoad"), QStringLiteral("载入"), this);
    QPushButton *exportButton = namedButton(QStringLiteral("btnExport"), QStringLiteral("导出"), this);
    connect(voidRow, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { voidSelectedRow(); }); });
    connect(settle, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { settleSelectedRow(); }); });
    connect(load, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { loadSelectedRow(); }); });
    connect(exportButton, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { exportRows(); }); });
    m_stock = namedButton(QStringLiteral("btnStock"), QStringLiteral("票证管理"), this);
    m_stock->hide();
    connect(m_stock, &QPushButton::clicked, this, [this] {
        if (m_stockOpener)
            MessageBox::guarded(this, m_stockOpener);
    });
    connect(m_table, &QTableView::doubleClicked, this,
            [this] { MessageBox::guarded(this, [this] { loadSelectedRow(); }); });

    auto *top = new QHBoxLayout;
    top->addWidget(searchLabel);
    top->addWidget(m_search, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_stock);
    buttons->addStretch(1);
    buttons->addWidget(voidRow);
    buttons->addWidget(settle);
    buttons->addWidget(load);
    buttons->addWidget(exportButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
}

JournalWindow::~JournalWindow() = default;

void JournalWindow::setStockOpener(std::function<void()> opener)
{
    m_stockOpener = std::move(opener);
    m_stock->setVisible(bool(m_stockOpener));
}

void JournalWindow::refresh()
{
    const qint64 selected = selectedRow() >= 0 ? m_model->rowId(selectedRow()) : 0;
    m_model->refresh();
    if (selected == 0)
        return;
    // Keeps the selection on the same journal row, wherever it now stands.
    for (int row = 0;; ++row) {
        while (row >= m_model->rowCount() && m_model->canFetchMore())
            m_model->fetchMore();
        if (row >= m_model->rowCount())
            return;
        if (m_model->rowId(row) == selected) {
            m_table->selectRow(row);
            return;
        }
    }
}

int JournalWindow::selectedRow() const
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void JournalWindow::voidSelectedRow()
{
    const int row = selectedRow();
    if (row < 0) {
        MessageBox::showMessage(this, QStringLiteral("请先选择一条打印记录。"));
        return;
    }
    if (m_model->outcomeKey(row) != PrintJournal::outcomeKey(PrintJournal::Outcome::Printed)) {
        MessageBox::showMessage(this, QStringLiteral("只能作废已打印的记录。"));
        return;
    }
    const std::optional<QString> reason = m_reasonPrompt ? m_reasonPrompt(this) : std::nullopt;
    if (!reason)
        return;
    if (reason->trimmed().isEmpty()) {
        MessageBox::showMessage(this, QStringLiteral("请输入作废原因！"));
        return;
    }
    m_journal.voidRow(m_model->rowId(row), reason->trimmed());
    refresh();
}

void JournalWindow::settleSelectedRow()
{
    const int row = selectedRow();
    if (row < 0) {
        MessageBox::showMessage(this, QStringLiteral("请先选择一条打印记录。"));
        return;
    }
    if (m_model->outcomeKey(row) != PrintJournal::outcomeKey(PrintJournal::Outcome::Unconfirmed)) {
        MessageBox::showMessage(this, QStringLiteral("只有未确认的记录需要确认结果。"));
        return;
    }
    const qint64 rowId = m_model->rowId(row);
    const std::optional<bool> printed =
        m_settlementPrompt ? m_settlementPrompt(this, m_journal.row(rowId).record.serialNumber)
                           : std::nullopt;
    if (!printed)
        return;
    if (*printed)
        m_journal.settle(rowId, PrintJournal::Outcome::Printed, QStringLiteral("经人工确认已打印"));
    else
        m_journal.settle(rowId, PrintJournal::Outcome::Failed, QStringLiteral("经人工确认未打印"));
    refresh();
}

void JournalWindow::loadSelectedRow()
{
    const int row = selectedRow();
    if (row < 0) {
        MessageBox::showMessage(this, QStringLiteral("请先选择一条打印记录。"));
        return;
    }
    m_journal.row(m_model->rowId(row)).record.applyTo(m_fields);
}

void JournalWindow::exportRows()
{
    const QString path = m_pathPrompt ? m_pathPrompt(this) : QString();
    if (!path.isEmpty())
        exportTo(path);
}

void JournalWindow::exportTo(const QString &path)
{
    while (m_model->canFetchMore())
        m_model->fetchMore();
    std::vector<QStringList> lines;
    QStringList cells;
    for (int column = 0; column < JournalModel::ColumnCount; ++column)
        cells.append(m_model->headerData(column, Qt::Horizontal).toString());
    lines.push_back(cells);
    for (int row = 0; row < m_model->rowCount(); ++row) {
        cells.clear();
        for (int column = 0; column < JournalModel::ColumnCount; ++column)
            cells.append(m_model->index(row, column).data().toString());
        lines.push_back(cells);
    }
    const QByteArray bytes = csvFile(lines);
    const QString failure = saveFileAtomically(path, bytes);
    if (!failure.isEmpty())
        throw KestranoError(failure);
}
