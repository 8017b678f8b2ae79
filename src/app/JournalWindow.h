#pragma once

#include <QWidget>
#include <functional>
#include <optional>

class QLineEdit;
class QPushButton;
class QTableView;
class ItineraryFields;
class JournalModel;
class PrintJournal;

// "打印记录": the print journal, newest row first, with a search box that
// keeps the rows whose serial number, ticket number or passenger contains
// what is typed. "作废" marks a printed row void with a reason (a spoiled
// sheet; nothing is ever deleted), "确认结果" settles a row whose end the print
// system could not tell ("未确认") as the agent finds the stock, "载入" puts a
// row's receipt back for a reprint on the next sheet, "导出" writes the rows
// shown as CSV.
class JournalWindow : public QWidget
{
    Q_OBJECT

public:
    // Asks for the reason of a void; nothing when the user declines.
    using ReasonPrompt = std::function<std::optional<QString>(QWidget *parent)>;
    // Asks for the file to export to; empty when the user declines.
    using PathPrompt = std::function<QString(QWidget *parent)>;
    // Asks whether the receipt of serialNumber came out: Printed or Failed;
    // nothing when the user declines.
    using SettlementPrompt =
        std::function<std::optional<bool>(QWidget *parent, const QString &serialNumber)>;

    JournalWindow(PrintJournal &journal, ItineraryFields &fields, QWidget *parent = nullptr);
    ~JournalWindow() override;

    void setReasonPrompt(ReasonPrompt prompt) { m_reasonPrompt = std::move(prompt); }
    void setPathPrompt(PathPrompt prompt) { m_pathPrompt = std::move(prompt); }
    void setSettlementPrompt(SettlementPrompt prompt) { m_settlementPrompt = std::move(prompt); }
    // "票证管理" opens the stock window through this; without it, no button.
    void setStockOpener(std::function<void()> opener);

    JournalModel *model() const { return m_model; }
    QTableView *table() const { return m_table; }

    // Reads the journal again, keeping the search.
    void refresh();

    void voidSelectedRow();
    void settleSelectedRow();
    void loadSelectedRow();
    void exportRows();
    // The rows the search shows, all of them, as CSV in UTF-8 with a byte
    // order mark (so that a spreadsheet reads the Chinese right); raises
    // KestranoError when the file cannot be written.
    void exportTo(const QString &path);

private:
    int selectedRow() const;

    PrintJournal &m_journal;
    ItineraryFields &m_fields;
    JournalModel *m_model = nullptr;
    QLineEdit *m_search = nullptr;
    QTableView *m_table = nullptr;
    ReasonPrompt m_reasonPrompt;
    PathPrompt m_pathPrompt;
    SettlementPrompt m_settlementPrompt;
    std::function<void()> m_stockOpener;
    QPushButton *m_stock = nullptr;
};
