#pragma once

#include <QWidget>
#include <functional>
#include <optional>

class QLineEdit;
class QTableView;
class TItineraryFields;
class TJournalModel;
class TPrintJournal;

// "打印记录": the print journal, newest row first, with a search box that
// keeps the rows whose serial number, ticket number or passenger contains
// what is typed. "作废" marks a printed row void with a reason (a spoiled
// sheet; nothing is ever deleted), "确认结果" settles a row whose end the print
// system could not tell ("未确认") as the agent finds the stock, "载入" puts a
// row's receipt back for a reprint on the next sheet, "导出" writes the rows
// shown as CSV.
class TJournalWindow : public QWidget
{
    Q_OBJECT

public:
    // Asks for the reason of a void; nothing when the user declines.
    using ReasonPrompt = std::function<std::optional<QString>(QWidget *parent)>;
    // Asks for the file to export to; empty when the user declines.
    using PathPrompt = std::function<QString(QWidget *parent)>;
    // Asks whether the receipt of serialNumber came out: Printed or Failed;
    // nothing when the user declines.
    using SettlementPrompt = std::function<std::optional<bool>(QWidget *parent,
                                                               const QString &serialNumber)>;

    TJournalWindow(TPrintJournal &journal, TItineraryFields &fields, QWidget *parent = nullptr);
    ~TJournalWindow() override;

    void setReasonPrompt(ReasonPrompt prompt) { FReasonPrompt = std::move(prompt); }
    void setPathPrompt(PathPrompt prompt) { FPathPrompt = std::move(prompt); }
    void setSettlementPrompt(SettlementPrompt prompt) { FSettlementPrompt = std::move(prompt); }

    TJournalModel *model() const { return FModel; }
    QTableView *table() const { return FTable; }

    // Reads the journal again, keeping the search.
    void refresh();

    void voidClick();
    void settleClick();
    void loadClick();
    void exportClick();
    // The rows the search shows, all of them, as CSV in UTF-8 with a byte
    // order mark (so that a spreadsheet reads the Chinese right); raises
    // KestranoError when the file cannot be written.
    void exportTo(const QString &path);

private:
    int selectedRow() const;
    void guarded(const std::function<void()> &handler);

    TPrintJournal &FJournal;
    TItineraryFields &FFields;
    TJournalModel *FModel = nullptr;
    QLineEdit *FSearch = nullptr;
    QTableView *FTable = nullptr;
    ReasonPrompt FReasonPrompt;
    PathPrompt FPathPrompt;
    SettlementPrompt FSettlementPrompt;
};
