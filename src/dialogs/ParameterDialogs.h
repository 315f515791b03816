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
//   M1Block: text = the command text.
//   AddStr: text, hex = whether the HEX box was checked.
//   MbcSpStr: text = the separator text.
//   CodeNum: number = the output count.
//   McbTimeout, ExTimeSet, SpeedSet: text as the dialog returns it.
//   MbcStrOrder: number = the order value.
//   DiffResultTime: text = first text, captionText = second text.
struct DialogOutput {
    std::string text;
    std::string captionText;
    bool hex = false;
    long number = 0;
};

// Opens a parameter dialog modally.  Each dialog is created once and reused,
// so it keeps its last values.  mode < 0 leaves the dialog's mode unchanged;
// an empty optionText is not handed to the dialog.  nullopt: Cancel.
class IParameterDialogRunner {
public:
    virtual ~IParameterDialogRunner() = default;
    virtual std::optional<DialogOutput> Run(ParameterDialog dialog, int mode, const std::string& optionText) = 0;
};

}  // namespace quillon
