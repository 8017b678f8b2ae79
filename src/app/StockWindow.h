#pragma once

#include "register/Reconciliation.h"
#include "register/RegisterStore.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QDateEdit;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;
class QTableView;
class NumberStatesModel;
class PrintService;
class Register;

// "票证管理": the ranges of receipt stock received ("领用"), each with how
// many of its numbers are printed, voided, unused and missing; the numbers of
// a range in those states; and the reconciliation ("核销表") of a range or a
// period, exported as CSV or printed on plain A4 paper.
class StockWindow : public QWidget
{
    Q_OBJECT

public:
    // Asks for the file to export to; empty when the user declines.
    using PathPrompt = std::function<QString(QWidget *parent)>;

    StockWindow(Register &numbers, PrintService &printing, QWidget *parent = nullptr);
    ~StockWindow() override;

    void setPathPrompt(PathPrompt prompt) { m_pathPrompt = std::move(prompt); }

    // Reads the ranges again.
    void refresh();
    const std::vector<StockRange> &ranges() const { return m_ranges; }
    QTableWidget *rangeTable() const { return m_rangeTable; }
    QTableView *numberTable() const { return m_numberTable; }

    // "领用登记": the range typed above the table.
    void registerRange();
    // "查看号码": the numbers of the selected range.
    void showNumbers();
    // The reconciliation the choice of range or period asks for.
    Reconciliation reconciliation();
    // "导出核销表" / "打印核销表".
    void exportReconciliation();
    void exportReconciliationTo(const QString &path);
    bool printReconciliation();

private:
    int selectedRange() const;

    Register &m_register;
    PrintService &m_printing;
    PathPrompt m_pathPrompt;
    std::vector<StockRange> m_ranges;

    QLabel *m_source = nullptr;
    QLineEdit *m_first = nullptr;
    QLineEdit *m_last = nullptr;
    QDateEdit *m_receivedOn = nullptr;
    QLineEdit *m_receivedBy = nullptr;
    QTableWidget *m_rangeTable = nullptr;
    QTableView *m_numberTable = nullptr;
    NumberStatesModel *m_numbers = nullptr;
    QRadioButton *m_byRange = nullptr;
    QRadioButton *m_byPeriod = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
};
