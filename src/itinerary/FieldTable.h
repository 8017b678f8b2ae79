#pragma once

#include <QString>
#include <vector>

// The named fields of the receipt and of the two conversions' inputs. One
// table, in one place: the model, the window, the remembered entries and the
// tests read it instead of repeating names.

// Every field of the receipt and of the two conversions' inputs. The fields
// of the segment and city rows are one each, with their row (FieldKey).
enum class Field {
    QueryTicketNumber, // the ticket query's "票号" (Edit1)
    QueryPassenger,    // the ticket query's "旅客姓名" (Edit2)
    Captcha,           // edtCode
    PassengerChoice,   // cboPassenger
    SerialNumber,      // edtSerNo, the stock's printed serial number
    Passenger,
    IdNumber,
    Endorsement,
    Pnr,
    Terminal, // rows 1 to 4
    From,     // rows 1 to 5: the city of departure, then each arrival
    FromCode, // rows 1 to 4
    Carrier,  // rows 1 to 4, and each row field below
    Flight,
    Seat,
    Date,
    Time,
    FareBasis,
    NotValidBefore,
    NotValidAfter,
    Allowance,
    Fare,
    AirportTax,
    FuelSurcharge,
    OtherTax,
    Total,
    FareCurrency,
    AirportTaxCode,
    FuelSurchargeCode,
    OtherTaxCode,
    TotalCurrency,
    CheckCode,
    TicketNumber,
    Insurance,
    AgentCode, // rows 1 (office) and 2 (company)
    IssuedBy,
    InternationalMark, // edtGuowai
    DateOfIssue,
    Information,
    International, // the switch "打印国际" (chkGuowai)
    PnrText,       // Memo1
};

// A field, with its row for the fields of the segment and city rows.
struct FieldKey
{
    FieldKey(Field field, int row = 0) : field(field), row(row) {} // implicit: a field is a key
    Field field;
    int row;
    bool operator==(const FieldKey &) const = default;
};

enum class FieldKind {
    Text,      // single-line text box
    PickText,  // text box with a drop-down pick-list; any text allowed
    Choice,    // drop-down that shows only one of its entries (cboPassenger)
    Date,      // date box, text "yyyy-MM-dd"
    MultiLine, // the PNR text box
    Switch,    // on/off (chkGuowai)
};

struct FieldSpec
{
    Field field;
    QString name; // the object name, also the settings key and, without prefix, the print label
    FieldKind kind;
    QString caption;     // as on screen; "Chinese\nEnglish" where the form has both
    int row;             // 1 to 5 for the segment and city rows, 0 elsewhere
    QString defaultText; // the designed text at start
    bool upperCase;      // letters are held in upper case
    bool inputMethodOff; // only direct Latin keyboard input
    bool remembered;     // stored at exit, restored at start

    // The caption on one line, with the row for the repeated fields, as
    // screen readers and test tools find the control: "航班号 FLIGHT 2".
    QString accessibleName() const;
    // The print layout's label of the field: edtFare -> qlblFare, cboAir1 ->
    // qlblAir1 (every object name's prefix has three letters).
    QString printLabel() const { return QStringLiteral("qlbl") + name.mid(3); }
};

// Every field: first the remembered ones in the order in which they are
// stored and restored (the order in which the window creates its controls),
// then the rest.
const std::vector<FieldSpec> &itineraryFieldTable();

// The field of that exact name, or nullptr.
const FieldSpec *findField(const QString &name);
// The field of that key; nullptr for a row the field does not have.
const FieldSpec *findField(FieldKey key);
// The field's object name ("edtFlight2"); empty for a row it does not have.
QString fieldName(FieldKey key);
// The last row of a field of the segment and city rows; 0 for any other.
int lastRow(Field field);
