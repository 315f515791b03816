#pragma once
#include <optional>
#include <string>

namespace quillon {

// The parameter dialogs an option can open, chosen by the first two bytes of
// its code (see the selection dispatch in the catalogue folder).
enum class ParameterDialog {
    None,
    M1Block,         // CM1BlockDlg
    AddStr,          // CAddStrDlg
    MbcSpStr,        // CMbcspstrDlg
    CodeNum,         // CCodeNumDLG
    McbTimeout,      // CMcbtimeoutdlg
    MbcStrOrder,     // CMbcStrOrder
    ExTimeSet,       // CExTimeSetDlg
    SpeedSet,        // CSpeedSetDlg
    DiffResultTime,  // CDiffResultTimeDlg
};

// What a dialog hands back after OK.  Which fields are meaningful depends on
// the dialog:
//   M1Block: text = the command text (16 hex characters).
//   AddStr: text, hex = the text is hex bytes (HEX box checked, text not
//     empty); a tab and line break are then appended as 09 and 0D0A.
//   MbcSpStr: text = the separator text.
//   CodeNum: number = the output count.
//   McbTimeout, ExTimeSet, SpeedSet: text as the dialog returns it, the
//     value as four lower-case hex digits; number = the value.
//   MbcStrOrder: number = the order value (a symbology code, 0 for any order).
//   DiffResultTime: text = first text (upper-case hex, two digits in mode 7,
//     else four), captionText = second text (the value for people: "%d ms"
//     in modes 0 to 4, "%d" above); number = the value.
struct DialogOutput {
    std::string text;
    std::string captionText;
    bool hex = false;
    long number = 0;
};

// What the tree tells a dialog before it opens.
struct DialogRequest {
    int mode = -1;           // < 0 leaves the dialog's mode unchanged
    std::string optionText;  // the option's tree text; empty: not handed over
    // The bytes of the value the device reported for the option, when it
    // reported one: the tree text shows them only as people read them.
    std::optional<std::string> deviceValue;
};

// Opens a parameter dialog modally.  Each dialog is created once and reused,
// so it keeps its last values.  nullopt: Cancel.
class IParameterDialogRunner {
public:
    virtual ~IParameterDialogRunner() = default;
    virtual std::optional<DialogOutput> Run(ParameterDialog dialog, const DialogRequest& request) = 0;
};

}  // namespace quillon
