#pragma once

#include <QString>
#include <vector>

// The named fields of the receipt and of the two conversions' inputs. One
// table, in one place: the model, the window, the remembered entries and the
// tests read it instead of repeating names.

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
    QString name; // also the settings key and, without prefix, the print label
    FieldKind kind;
    QString caption;     // as on screen; "Chinese\nEnglish" where the form has both
    int row;             // 1 to 5 for the segment and city rows, 0 elsewhere
    QString defaultText; // the designed text at start
    bool upperCase;      // letters are held in upper case
    bool inputMethodOff; // only direct Latin keyboard input
    bool remembered;     // stored at exit, restored at start
    QString pickListKey; // settings key of the pick-list, empty when none

    // The caption on one line, with the row for the repeated fields, as
    // screen readers and test tools find the control: "航班号 FLIGHT 2".
    QString accessibleName() const;
};

// Every field: first the remembered ones in the order in which they are
// stored and restored (the order in which the window creates its controls),
// then the rest.
const std::vector<FieldSpec> &itineraryFieldTable();

// The field of that exact name, or nullptr.
const FieldSpec *findField(const QString &name);
