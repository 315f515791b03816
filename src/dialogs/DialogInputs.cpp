#include "dialogs/DialogInputs.h"

#include "dialogs/AddStrRules.h"
#include "dialogs/CodeNumRules.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/DiffResultTimeRules.h"
#include "dialogs/M1BlockRules.h"
#include "dialogs/MbcSpStrRules.h"
#include "dialogs/MbcStrOrderRules.h"
#include "dialogs/SymbologyNames.h"
#include "dialogs/WordEntry.h"

#include <sstream>
#include <vector>

namespace quillon {

namespace {

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator))
        parts.push_back(part);
    return parts;
}

// The number fields take decimal digits only; a value given as text must
// be no more, or the lenient reading of the rules would make one of "12abc"
// or "1e3".  Refused as the dialog refuses a number out of its range.
bool IsDecimal(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

DialogOutcome NumberEntry(const std::string& value, const char* message, bool emptyFieldOnRefusal)
{
    if (!IsDecimal(value))
        return DialogOutcome::Refuse(message);
    return WordEntry(message, emptyFieldOnRefusal).Accept(value);
}

DialogOutcome AddStr(const std::string& value, const std::string& optionText)
{
    AddStrRules rules;
    rules.SetInitialText(optionText);
    AddStrRules::Fields fields = rules.Opening();
    fields.hex = value.rfind("hex:", 0) == 0;
    fields.text = fields.hex ? value.substr(4) : value;
    return rules.Accept(fields);
}

DialogOutcome M1Block(const std::string& value)
{
    const std::vector<std::string> parts = Split(value, ':');
    if (parts.size() != 4 || (parts[0] != "A" && parts[0] != "B"))
        return DialogOutcome::Refuse("M1 卡块参数格式应为 A|B:扇区:块:密钥");
    M1BlockRules::Fields fields;
    if (!parts[1].empty() && !IsDecimal(parts[1]))
        return DialogOutcome::Refuse(dialog_texts::kM1SectorWrong);
    if (!parts[2].empty() && !IsDecimal(parts[2]))
        return DialogOutcome::Refuse(dialog_texts::kM1BlockWrong);
    fields.keyB = parts[0] == "B";
    fields.sector = parts[1];
    fields.block = parts[2];
    fields.key = parts[3];
    return M1BlockRules::Accept(fields);
}

DialogOutcome Answer(ParameterDialog dialog, int mode, const std::string& value, const std::string& optionText)
{
    switch (dialog) {
    case ParameterDialog::AddStr: return AddStr(value, optionText);
    case ParameterDialog::M1Block: return M1Block(value);
    case ParameterDialog::MbcSpStr: {
        MbcSpStrRules rules;
        rules.SetItemText(optionText);
        return rules.Accept(value);
    }
    case ParameterDialog::CodeNum: {
        CodeNumRules rules;
        rules.SetItemText(optionText);
        return rules.Accept(value);
    }
    case ParameterDialog::MbcStrOrder: {
        MbcStrOrderRules rules;
        rules.SetItemText(optionText);
        return value == "any" ? rules.Accept(true, {}) : rules.Accept(false, value);
    }
    case ParameterDialog::DiffResultTime: {
        if (!IsDecimal(value))
            return DialogOutcome::Refuse(dialog_texts::kValueOutOfRange);
        DiffResultTimeRules rules;
        rules.SetMode(mode);
        return rules.Accept(value);
    }
    case ParameterDialog::McbTimeout: return NumberEntry(value, dialog_texts::kTimeoutOverLimit, true);
    case ParameterDialog::ExTimeSet: return NumberEntry(value, dialog_texts::kTimeoutOverLimit, false);
    case ParameterDialog::SpeedSet: return NumberEntry(value, dialog_texts::kSpeedOverLimit, false);
    case ParameterDialog::None: break;
    }
    return DialogOutcome::Refuse("该选项没有参数对话框");
}

}  // namespace

std::optional<DialogOutput> DialogInputs::Run(ParameterDialog dialog, const DialogRequest& request)
{
    error_.clear();
    if (!value_) {
        error_ = "该选项需要参数，请写成 代码=参数";
        return std::nullopt;
    }
    DialogOutcome outcome = Answer(dialog, request.mode, *value_, request.optionText);
    if (!outcome.output)
        error_ = outcome.message.empty() ? std::string("参数无效") : outcome.message;
    return outcome.output;
}

std::string DialogInputText(ParameterDialog dialog, const DialogOutput& output)
{
    switch (dialog) {
    case ParameterDialog::AddStr: return output.hex ? "hex:" + output.text : output.text;
    case ParameterDialog::M1Block: {
        // 60|61, the absolute block (four to a sector), the key padded to six bytes.
        if (output.text.size() < 4)
            return {};
        const int absolute = std::stoi(output.text.substr(2, 2), nullptr, 16);
        return std::string(output.text.compare(0, 2, "61") == 0 ? "B" : "A") + ":" + std::to_string(absolute / 4) +
               ":" + std::to_string(absolute % 4) + ":" + output.text.substr(4);
    }
    case ParameterDialog::MbcSpStr: return output.text;
    case ParameterDialog::MbcStrOrder:
        for (const SymbologyName& name : SymbologyNames())
            if (output.number != 0 && name.code == output.number)
                return name.name;
        return "any";
    case ParameterDialog::CodeNum:
    case ParameterDialog::McbTimeout:
    case ParameterDialog::ExTimeSet:
    case ParameterDialog::SpeedSet:
    case ParameterDialog::DiffResultTime: return std::to_string(output.number);
    case ParameterDialog::None: break;
    }
    return {};
}

}  // namespace quillon
