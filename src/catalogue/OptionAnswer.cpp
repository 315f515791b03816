#include "catalogue/OptionAnswer.h"

#include "dialogs/DialogInputs.h"

namespace quillon {

const TreeNodeInfo* FindOption(const std::vector<TreeNodeInfo>& nodes, const std::string& code)
{
    for (const TreeNodeInfo& node : nodes)
        if (node.level == 3 && node.code == code)
            return &node;
    return nullptr;
}

OptionAnswer AnswerOption(const std::vector<TreeNodeInfo>& nodes, const std::string& code,
                          const std::optional<std::string>& value)
{
    OptionAnswer answer;
    answer.option = FindOption(nodes, code);
    if (answer.option == nullptr) {
        answer.fault = OptionAnswer::Fault::UnknownCode;
        answer.reason = "no option with code " + code + " in the catalogue";
        return answer;
    }
    answer.recordIndex = static_cast<int>(answer.option - nodes.data());
    const DialogChoice choice = ChooseParameterDialog(code);
    if (choice.dialog == ParameterDialog::None) {
        if (value) {
            answer.fault = OptionAnswer::Fault::TakesNoValue;
            answer.reason = "takes no value";
        }
        return answer;
    }
    DialogInputs inputs;
    inputs.SetValue(value);
    const auto output =
        inputs.Run(choice.dialog, {choice.mode, choice.passOptionText ? answer.option->name : "", std::nullopt});
    if (!output) {
        answer.fault = OptionAnswer::Fault::Refused;
        answer.reason = inputs.Error();
        return answer;
    }
    answer.applied = BuildAppliedValue(choice.dialog, *output);
    return answer;
}

}  // namespace quillon
