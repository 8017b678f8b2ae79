#pragma once

#include <QString>
#include <functional>
#include <optional>

// An earlier use of a receipt number: when, at which desk, and whether the
// sheet went to paper or was voided.
struct NumberUse
{
    QString serialNumber; // as the receipt bore it
    QString time;         // "yyyy-MM-dd HH:mm:ss", as recorded
    QString desk;
    bool voided = false;
};

// The stretch between two received ranges that a number lies in; a side
// without a range is -1.
struct StockGap
{
    qint64 after = -1;  // the last number of the range below
    qint64 before = -1; // the first number of the range above

    friend bool operator==(const StockGap &, const StockGap &) = default;
};

// What the print sequence asks of the register of receipt numbers before a
// receipt takes a number. The questions on this desk's own knowledge are
// answered at once; the claim on a register shared by several desks is
// answered later, from the event loop, so that a slow or absent server never
// holds the window up.
class NumberRegister
{
public:
    enum class Claim {
        Granted,     // the number is this print's
        Taken,       // another print has it (the use comes with the answer)
        Unavailable, // the shared register cannot be asked: print, record, send later
    };
    using ClaimAnswer = std::function<void(Claim, const std::optional<NumberUse> &)>;

    virtual ~NumberRegister() = default;

    // The latest print or void of the number that this desk knows of.
    virtual std::optional<NumberUse> knownUse(qint64 number) = 0;
    // The stretch outside every received range the number lies in; nothing
    // when it lies in one, or when no range has been received at all.
    virtual std::optional<StockGap> outsideStock(qint64 number) = 0;
    // Whether any range has been received: only then is every sheet of the
    // stock accounted for, and a receipt without a number a sheet unaccounted.
    virtual bool stockRecorded() = 0;
    // Asks for the number for the print whose document is documentName.
    // answer is called once: at once (Granted) without a shared register,
    // else from the event loop, within a few seconds at most.
    virtual void claim(qint64 number, const QString &serialNumber, const QString &documentName,
                       ClaimAnswer answer) = 0;
    // The journal has a new or changed row for the shared register.
    virtual void journalChanged() = 0;
};
