#include "app/JournalWindow.h"

#include "app/MessageBox.h"
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

QPushButton *button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setAccessibleDescription(name);
    return button;
}

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

TJournalWindow::TJournalWindow(TPrintJournal &journal, TItineraryFields &fields, QWidget *parent)
    : QWidget(parent, Qt::Window), FJournal(journal), FFields(fields), FReasonPrompt(&askReason),
      FPathPrompt(&askPath), FSettlementPrompt(&askPrinted)
{
    setObjectName(QStringLiteral("frmJournal"));
    setWindowTitle(QStringLiteral("打印记录"));
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(820, 520);

    FModel = new TJournalModel(journal, this);

    auto *searchLabel = new QLabel(QStringLiteral("查找："), this);
    FSearch = new QLineEdit(this);
    FSearch->setObjectName(QStringLiteral("edtSearch"));
    FSearch->setAccessibleName(QStringLiteral("查找"));
    FSearch->setPlaceholderText(QStringLiteral("印刷序列、票号或旅客姓名"));
    FSearch->setClearButtonEnabled(true);
    searchLabel->setBuddy(FSearch);
    connect(FSearch, &QLineEdit::textChanged, this,
            [this](const QString &text) { FModel->setFilter(text); });

    FTable = new QTableView(this);
    FTable->setObjectName(QStringLiteral("grdJournal"));
    FTable->setAccessibleName(QStringLiteral("打印记录"));
    FTable->setModel(FModel);
    FTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    FTable->setSelectionMode(QAbstractItemView::SingleSelection);
    FTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FTable->verticalHeader()->hide();
    FTable->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {120, 140, 110, 120, 140, 80};
    for (int column = 0; column < int(std::size(widths)); ++column)
        FTable->setColumnWidth(column, widths[column]);

    QPushButton *voidRow = button(QStringLiteral("btnVoid"), QStringLiteral("作废"), this);
    QPushButton *settle = button(QStringLiteral("btnSettle"), QStringLiteral("确认结果"), this);
    QPushButton *load = button(QStringLiteral("btnLoad"), QStringLiteral("载入"), this);
    QPushButton *exportRows = button(QStringLiteral("btnExport"), QStringLiteral("导出"), this);
    connect(voidRow, &QPushButton::clicked, this, [this] { guarded([this] { voidClick(); }); });
    connect(settle, &QPushButton::clicked, this, [this] { guarded([this] { settleClick(); }); });
    connect(load, &QPushButton::clicked, this, [this] { guarded([this] { loadClick(); }); });
    connect(exportRows, &QPushButton::clicked, this,
            [this] { guarded([this] { exportClick(); }); });
    connect(FTable, &QTableView::doubleClicked, this, [this] { guarded([this] { loadClick(); }); });

    auto *top = new QHBoxLayout;
    top->addWidget(searchLabel);
    top->addWidget(FSearch, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(voidRow);
    buttons->addWidget(settle);
    buttons->addWidget(load);
    buttons->addWidget(exportRows);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(FTable, 1);
    layout->addLayout(buttons);
}

TJournalWindow::~TJournalWindow() = default;

void TJournalWindow::guarded(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const KestranoError &error) {
        MessageBox::showError(this, error.message());
    }
}

void TJournalWindow::refresh()
{
    const qint64 selected = selectedRow() >= 0 ? FModel->rowId(selectedRow()) : 0;
    FModel->refresh();
    if (selected == 0)
        return;
    // Keeps the selection on the same journal row, wherever it now stands.
    for (int row = 0;; ++row) {
        while (row >= FModel->rowCount() && FModel->canFetchMore())
            FModel->fetchMore();
        if (row >= FModel->rowCount())
            return;
        if (FModel->rowId(row) == selected) {
            FTable->selectRow(row);
            return;
        }
    }
}

int TJournalWindow::selectedRow() const
{
    const QModelIndexList rows = FTable->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void TJournalWindow::voidClick()
{
    const int row = selectedRow();
    if (row < 0) {
        MessageBox::showMessage(this, QStringLiteral("请先选择一条打印记录。"));
        return;
    }
    if (FModel->outcomeKey(row) != TPrintJournal::outcomeKey(TPrintJournal::Outcome::Printed)) {
        MessageBox::showMessage(this, QStringLiteral("只能作废已打印的记录。"));
        return;
    }
    const std::optional<QString> reason = FReasonPrompt ? FReasonPrompt(this) : std::nullopt;
    if (!reason)
        return;
    if (reason->trimmed().isEmpty()) {
        MessageBox::showMessage(this, QStringLiteral("请输入作废原因！"));
        return;
    }
    FJournal.voidRow(FModel->rowId(row), reason->trimmed());
    refresh();
}

void TJournalWindow::settleClick()
{
    const int row = selectedRow();
    if (row < 0) {
        MessageBox::showMessage(this, QStringLiteral("请先选择一条打印记录。"));
        return;
    }
    if (FModel->outcomeKey(row) !=
        TPrintJournal::outcomeKey(TPrintJournal::Outcome::Unconfirmed)) {
        MessageBox::showMessage(this, QStringLiteral("只有未确认的记录需要确认结果。"));
        return;
    }
    const qint64 rowId = FModel->rowId(row);
    const std::optional<bool> printed =
        FSettlementPrompt ? FSettlementPrompt(this, FJournal.row(rowId).record.serialNumber)
                          : std::nullopt;
    if (!printed)
        return;
    if (*printed)
        FJournal.settle(rowId, TPrintJournal::Outcome::Printed,
                        QStringLiteral("经人工确认已打印"));
    else
        FJournal.settle(rowId, TPrintJournal::Outcome::Failed, QStringLiteral("经人工确认未打印"));
    refresh();
}

void TJournalWindow::loadClick()
{
    const int row = selectedRow();
    if (row < 0) {
        MessageBox::showMessage(this, QStringLiteral("请先选择一条打印记录。"));
        return;
    }
    FJournal.row(FModel->rowId(row)).record.applyTo(FFields);
}

void TJournalWindow::exportClick()
{
    const QString path = FPathPrompt ? FPathPrompt(this) : QString();
    if (!path.isEmpty())
        exportTo(path);
}

void TJournalWindow::exportTo(const QString &path)
{
    while (FModel->canFetchMore())
        FModel->fetchMore();
    QStringList lines;
    QStringList cells;
    for (int column = 0; column < TJournalModel::ColumnCount; ++column)
        cells.append(csvCell(FModel->headerData(column, Qt::Horizontal).toString()));
    lines.append(cells.join(u','));
    for (int row = 0; row < FModel->rowCount(); ++row) {
        cells.clear();
        for (int column = 0; column < TJournalModel::ColumnCount; ++column)
            cells.append(csvCell(FModel->index(row, column).data().toString()));
        lines.append(cells.join(u','));
    }
    const QByteArray bytes =
        QByteArrayLiteral("\xEF\xBB\xBF") + lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    const QString failure = saveFileAtomically(path, bytes);
    if (!failure.isEmpty())
        throw KestranoError(failure);
}
