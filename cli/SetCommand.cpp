#include "catalogue/SelectionApplier.h"
#include "cli/DeviceLink.h"
#include "catalogue/SelectionDispatch.h"
#include "dialogs/DialogInputs.h"
#include "cli/PortOptions.h"
#include "cli/Verbs.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <optional>

namespace quillon::cli {

namespace {

// Catches the value triple the tree hands on for each option, so every
// value is checked by its dialog's rules before anything is sent.
class ValueCollector : public IConfigurationTarget, public ISettingSender {
public:
    void AddCommandEntry(int, int, const ValueTriple& value, const std::string&) override { last = value; }
    void SendSettingFrame(int, const ValueTriple&) override {}
    std::optional<ValueTriple> last;
};

struct Write {
    int recordIndex;
    ValueTriple value;
};

// The writes the arguments ask for; a wrong one throws before anything is sent.
std::vector<Write> PlanWrites(const std::vector<std::string>& items, const CQuillonDoc& doc,
                                      const CatalogueTree& tree)
{
    std::vector<Write> writes;
    DialogInputs inputs;
    ValueCollector collector;
    SelectionApplier applier(inputs, collector, collector, [] { return std::int64_t{0}; });
    for (const std::string& item : items) {
        const auto equals = item.find('=');
        const std::string code = item.substr(0, equals);
        const TreeNodeInfo* option = FindOption(doc.catalogue.treeNodes, code);
        if (option == nullptr)
            throw CLI::ValidationError("no option with code " + code + " in the catalogue");
        inputs.SetValue(equals == std::string::npos ? std::nullopt : std::optional(item.substr(equals + 1)));
        collector.last.reset();
        int route = -1;
        applier.Apply(doc.catalogue.treeNodes, tree, option->treeItem, ApplyRequest{true, false}, route);
        if (!inputs.Error().empty())
            throw CLI::ValidationError(code, inputs.Error());
        if (equals != std::string::npos && ChooseParameterDialog(code).dialog == ParameterDialog::None)
            throw CLI::ValidationError(code, "takes no value");
        if (!collector.last)
            throw CLI::ValidationError(code, "needs a value");
        writes.push_back({tree.Item(option->treeItem).data, *collector.last});
    }
    return writes;
}

struct SetArgs : PortArgs {
    std::vector<std::string> codes;
};

int RunSet(const SetArgs& args)
{
    DeviceLink link(args);
    if (!link.LoadCatalogue())
        return 1;
    const std::vector<Write> writes = PlanWrites(args.codes, link.Doc(), link.Tree());
    if (const int status = link.OpenAndConnect(true); status != 0)
        return status;
    for (const Write& write : writes) {
        if (const int status = link.Write(write.recordIndex, write.value); status != 0)
            return status;
    }
    PrintReportedOptions(ReportedOptions(link.Doc(), link.Tree()), args.json);
    return 0;
}

}  // namespace

Verb AddSetVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("set", "Write settings to the device as the window does online.");
    command->footer("Connects, reads back, then writes each option as the tree does with \"修改设备参数\" ticked, "
                    "waiting for each reply and the read-back it starts; then prints what read prints.  VALUE "
                    "answers the option's parameter dialog as for sheet.\n"
                    "Exit status: 0 written, 1 no answer, a refused write or a HID / HID-POS / baud-rate report, "
                    "2 a wrong CODE or VALUE (nothing is sent), 3 the port cannot be opened.");
    auto args = std::make_shared<SetArgs>();
    AddPortOptions(*command, *args, true);
    command->add_option("CODE", args->codes, "an option code of the catalogue, with its dialog's value")
        ->type_name("CODE[=VALUE]")
        ->required();
    return {command, [args] { return RunSet(*args); }};
}

}  // namespace quillon::cli
