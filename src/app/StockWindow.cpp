#include "app/StockWindow.h"

#include "app/MessageBox.h"
#include "app/NamedButton.h"
#include "common/KestranoError.h"
#include "common/Messages.h"
#include "common/SafeSave.h"
#include "common/TextRules.h"
#include "itinerary/SerialNumber.h"
#include "print/PrintService.h"
#include "register/ReconciliationSheet.h"
#include "register/Register.h"

#include <QAbstractTableModel>
#include <QDateEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

// The numbers of one range, one row each (the unused ones at the end as one
// row): number, state, time, desk, passenger, ticket number. What each use
// was is read for the rows shown, a block at a time, so that a range of any
// size opens at once.
class NumberStatesModel : public QAbstractTableModel
{
public:
    // What the uses of the numbers first..last were, in number order.
    using Fetch = std::function<std::vector<UsedNumber>(qint64 first, qint64 last)>;

    using QAbstractTableModel::QAbstractTableModel;

    void setAccount(const Reconciliation &account, qint64 last, Fetch fetch)
    {
        beginResetModel();
        m_rows.clear();
        m_blocks.clear();
        m_fetch = std::move(fetch);
        for (qint64 number : account.printed)
            m_rows.push_back({number, number, State::Printed});
        for (qint64 number : account.voided)
            m_rows.push_back({number, number, State::Voided});
        // A run of missing numbers is one row, however long.
        for (const Reconciliation::Run &run : account.missing)
            m_rows.push_back({run.first, run.last, State::Missing});
        std::sort(m_rows.begin(), m_rows.end(),
                  [](const Row &a, const Row &b) { return a.number < b.number; });
        m_unused = account.unused;
        m_last = last;
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_rows.size()) + (m_unused > 0 ? 1 : 0);
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : 6;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static const char *const captions[] = {"印刷序列", "状态", "时间", "柜台", "旅客", "票号"};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < 6)
            return QString::fromUtf8(captions[section]);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        if (index.row() >= int(m_rows.size())) {
            if (index.column() == 0)
                return QStringLiteral("%1–%2").arg(serialDigits(m_last - m_unused + 1),
                                                   serialDigits(m_last));
            if (index.column() == 1)
                return QStringLiteral("未用（%1 张）").arg(m_unused);
            return {};
        }
        const Row &row = m_rows[size_t(index.row())];
        const Reconciliation::Run run{row.number, row.last};
        if (index.column() == 0)
            return Reconciliation::runNumbers(run);
        if (index.column() == 1) {
            switch (row.state) {
            case State::Printed:
                return QStringLiteral("已打印");
            case State::Voided:
                return QStringLiteral("已作废");
            case State::Missing:
                return Reconciliation::missingState(run);
            }
        }
        if (row.state == State::Missing)
            return {};
        const UsedNumber *use = Reconciliation::find(block(index.row()), row.number);
        if (!use)
            return {};
        // What the other desks wrote, through the server: shown on one line,
        // as text that reads as itself.
        switch (index.column()) {
        case 2:
            return foreignText(use->time, 32);
        case 3:
            return foreignText(use->desk, 64);
        case 4:
            return foreignText(use->passenger, 64);
        case 5:
            return foreignText(use->ticketNumber, 32);
        }
        return {};
    }

private:
    enum class State { Printed, Voided, Missing };
    struct Row
    {
        qint64 number; // the first of a run of missing numbers
        qint64 last;   // the same number but for such a run
        State state;
    };
    static constexpr int blockSize = 256;

    // The uses of the rows' block, read when first shown.
    const std::vector<UsedNumber> &block(int row) const
    {
        const int first = row / blockSize * blockSize;
        auto found = m_blocks.find(first);
        if (found != m_blocks.end())
            return found->second;
        const int last = std::min(first + blockSize, int(m_rows.size())) - 1;
        std::vector<UsedNumber> uses;
        try {
            uses = m_fetch(m_rows[size_t(first)].number, m_rows[size_t(last)].number);
        } catch (const KestranoError &) {
            // A register that cannot be read now leaves the columns blank;
            // the next showing asks again.
            static const std::vector<UsedNumber> none;
            return none;
        }
        return m_blocks.emplace(first, std::move(uses)).first->second;
    }

    std::vector<Row> m_rows;
    qint64 m_unused = 0;
    qint64 m_last = 0;
    Fetch m_fetch;
    mutable std::map<int, std::vector<UsedNumber>> m_blocks;
};

namespace {

QString askPath(QWidget *parent)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("导出核销表"),
                                        QStringLiteral("核销表.csv"),
                                        QStringLiteral("CSV (*.csv)"));
}

QLineEdit *numberBox(const QString &name, const QString &caption, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(caption);
    box->setMaxLength(10);
    box->setPlaceholderText(QStringLiteral("十位数字"));
    box->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,10}")), box));
    return box;
}

QDateEdit *dateBox(const QString &name, const QString &caption, QWidget *parent)
{
    auto *box = new QDateEdit(QDate::currentDate(), parent);
    box->setObjectName(name);
    box->setAccessibleName(caption);
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    box->setCalendarPopup(true);
    return box;
}

} // namespace

StockWindow::StockWindow(Register &numbers, PrintService &printing, QWidget *parent)
    : QWidget(parent, Qt::Window), m_register(numbers), m_printing(printing),
      m_pathPrompt(&askPath)
{
    setObjectName(QStringLiteral("frmStock"));
    setWindowTitle(QStringLiteral("票证管理"));
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(900, 620);

    m_source = new QLabel(this);
    m_source->setObjectName(QStringLiteral("lblRegister"));
    m_source->setTextFormat(Qt::PlainText);
    const QString desk = foreignText(m_register.desk(), 64);
    m_source->setText(m_register.shared()
                          ? QStringLiteral("登记服务器：%1（柜台 %2）")
                                .arg(foreignText(m_register.name(), 200), desk)
                          : QStringLiteral("本机登记（柜台 %1）").arg(desk));

    auto *receive = new QGroupBox(QStringLiteral("领用登记"), this);
    m_first = numberBox(QStringLiteral("edtFirst"), QStringLiteral("起始号"), receive);
    m_last = numberBox(QStringLiteral("edtLast"), QStringLiteral("终止号"), receive);
    m_receivedOn = dateBox(QStringLiteral("dtpReceived"), QStringLiteral("领用日期"), receive);
    m_receivedBy = new QLineEdit(receive);
    m_receivedBy->setObjectName(QStringLiteral("edtReceivedBy"));
    m_receivedBy->setAccessibleName(QStringLiteral("领用人"));
    QPushButton *add = namedButton(QStringLiteral("btnAddRange"), QStringLiteral("登记"), receive);
    auto *receiveLayout = new QHBoxLayout(receive);
    for (const auto &[caption, widget] :
         std::initializer_list<std::pair<const char *, QWidget *>>{
             {"起始号：", m_first}, {"终止号：", m_last}, {"领用日期：", m_receivedOn},
             {"领用人：", m_receivedBy}}) {
        auto *label = new QLabel(QString::fromUtf8(caption), receive);
        label->setBuddy(widget);
        receiveLayout->addWidget(label);
        receiveLayout->addWidget(widget);
    }
    receiveLayout->addWidget(add);

    m_rangeTable = new QTableWidget(0, 9, this);
    m_rangeTable->setObjectName(QStringLiteral("grdRanges"));
    m_rangeTable->setAccessibleName(QStringLiteral("号段"));
    m_rangeTable->setHorizontalHeaderLabels(
        {QStringLiteral("起始号"), QStringLiteral("终止号"), QStringLiteral("领用日期"),
         QStringLiteral("领用人"), QStringLiteral("张数"), QStringLiteral("已打印"),
         QStringLiteral("已作废"), QStringLiteral("未用"), QStringLiteral("缺号")});
    m_rangeTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_rangeTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_rangeTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rangeTable->verticalHeader()->hide();
    const int widths[] = {100, 100, 90, 90, 70, 70, 70, 70, 70};
    for (int column = 0; column < 9; ++column)
        m_rangeTable->setColumnWidth(column, widths[column]);

    m_numbers = new NumberStatesModel(this);
    m_numberTable = new QTableView(this);
    m_numberTable->setObjectName(QStringLiteral("grdNumbers"));
    m_numberTable->setAccessibleName(QStringLiteral("号码"));
    m_numberTable->setModel(m_numbers);
    m_numberTable->verticalHeader()->hide();
    m_numberTable->horizontalHeader()->setStretchLastSection(true);
    m_numberTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int numberWidths[] = {170, 90, 140, 120, 120};
    for (int column = 0; column < 5; ++column)
        m_numberTable->setColumnWidth(column, numberWidths[column]);

    QPushButton *numbersButton =
        namedButton(QStringLiteral("btnNumbers"), QStringLiteral("查看号码"), this);
    QPushButton *refreshButton =
        namedButton(QStringLiteral("btnRefresh"), QStringLiteral("刷新"), this);

    auto *account = new QGroupBox(QStringLiteral("核销表"), this);
    m_byRange = new QRadioButton(QStringLiteral("选中的号段"), account);
    m_byRange->setObjectName(QStringLiteral("rdoRange"));
    m_byRange->setChecked(true);
    m_byPeriod = new QRadioButton(QStringLiteral("期间"), account);
    m_byPeriod->setObjectName(QStringLiteral("rdoPeriod"));
    m_from = dateBox(QStringLiteral("dtpFrom"), QStringLiteral("从"), account);
    m_from->setDate(QDate::currentDate().addDays(1 - QDate::currentDate().day()));
    m_to = dateBox(QStringLiteral("dtpTo"), QStringLiteral("至"), account);
    QPushButton *exportButton =
        namedButton(QStringLiteral("btnExportAccount"), QStringLiteral("导出核销表"), account);
    QPushButton *printButton =
        namedButton(QStringLiteral("btnPrintAccount"), QStringLiteral("打印核销表"), account);
    auto *accountLayout = new QHBoxLayout(account);
    accountLayout->addWidget(m_byRange);
    accountLayout->addWidget(m_byPeriod);
    accountLayout->addWidget(m_from);
    accountLayout->addWidget(new QLabel(QStringLiteral("至"), account));
    accountLayout->addWidget(m_to);
    accountLayout->addStretch(1);
    accountLayout->addWidget(exportButton);
    accountLayout->addWidget(printButton);

    connect(add, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { registerRange(); }); });
    connect(numbersButton, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { showNumbers(); }); });
    connect(m_rangeTable, &QTableWidget::cellDoubleClicked, this,
            [this] { MessageBox::guarded(this, [this] { showNumbers(); }); });
    connect(refreshButton, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { refresh(); }); });
    connect(exportButton, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { exportReconciliation(); }); });
    connect(printButton, &QPushButton::clicked, this,
            [this] { MessageBox::guarded(this, [this] { printReconciliation(); }); });

    auto *rangeButtons = new QHBoxLayout;
    rangeButtons->addWidget(m_source, 1);
    rangeButtons->addWidget(refreshButton);
    rangeButtons->addWidget(numbersButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(receive);
    layout->addWidget(m_rangeTable, 2);
    layout->addLayout(rangeButtons);
    layout->addWidget(m_numberTable, 3);
    layout->addWidget(account);
}

StockWindow::~StockWindow() = default;

void StockWindow::refresh()
{
    m_ranges = m_register.store().ranges();
    m_rangeTable->setRowCount(int(m_ranges.size()));
    for (int row = 0; row < int(m_ranges.size()); ++row) {
        const StockRange &range = m_ranges[size_t(row)];
        const QString cells[] = {serialDigits(range.first),
                                 serialDigits(range.last),
                                 foreignText(range.receivedOn, 32),
                                 foreignText(range.receivedBy, 64),
                                 QString::number(range.size()), QString::number(range.printed),
                                 QString::number(range.voided), QString::number(range.unused),
                                 QString::number(range.missing)};
        for (int column = 0; column < 9; ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (column >= 4)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_rangeTable->setItem(row, column, item);
        }
    }
    if (!m_ranges.empty() && selectedRange() < 0)
        m_rangeTable->selectRow(0);
}

int StockWindow::selectedRange() const
{
    const QModelIndexList rows = m_rangeTable->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void StockWindow::registerRange()
{
    StockRange range;
    if (m_first->text().size() != 10 || m_last->text().size() != 10)
        throw KestranoError(Messages::stockRangeInvalid());
    range.first = m_first->text().toLongLong();
    range.last = m_last->text().toLongLong();
    range.receivedOn = m_receivedOn->date().toString(Qt::ISODate);
    range.receivedBy = m_receivedBy->text().trimmed();
    m_register.store().addRange(range, m_register.desk());
    m_register.rangesChanged();
    m_first->clear();
    m_last->clear();
    refresh();
    for (int row = 0; row < int(m_ranges.size()); ++row) {
        if (m_ranges[size_t(row)].first == range.first)
            m_rangeTable->selectRow(row);
    }
}

void StockWindow::showNumbers()
{
    const int row = selectedRange();
    if (row < 0) {
        MessageBox::showMessage(this, QStringLiteral("请先选中一个号段。"));
        return;
    }
    const StockRange &range = m_ranges[size_t(row)];
    m_numbers->setAccount(m_register.store().reconcileRange(range.first, range.last), range.last,
                          [this](qint64 first, qint64 last) {
                              return m_register.store().usesBetween(first, last);
                          });
}

Reconciliation StockWindow::reconciliation()
{
    if (m_byPeriod->isChecked()) {
        if (m_from->date() > m_to->date())
            throw KestranoError(Messages::periodBackwards());
        return m_register.store().reconcilePeriod(m_from->date(), m_to->date());
    }
    const int row = selectedRange();
    if (row < 0)
        throw KestranoError(Messages::noRangeSelected());
    const StockRange &range = m_ranges[size_t(row)];
    return m_register.store().reconcileRange(range.first, range.last);
}

void StockWindow::exportReconciliation()
{
    const QString path = m_pathPrompt ? m_pathPrompt(this) : QString();
    if (!path.isEmpty())
        exportReconciliationTo(path);
}

void StockWindow::exportReconciliationTo(const QString &path)
{
    const Reconciliation account = reconciliation();
    const QString failure =
        saveFileAtomically(path, account.csv(m_register.store().usesOf(account)));
    if (!failure.isEmpty())
        throw KestranoError(Messages::registerExportFailed(path, failure));
}

bool StockWindow::printReconciliation()
{
    const Reconciliation account = reconciliation();
    const QByteArray pdf = reconciliationPdf(account, m_register.store().usesOf(account),
                                             m_register.name(), m_register.desk());
    return m_printing.printDocument(pdf, QStringLiteral("核销表"));
}
