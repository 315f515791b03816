#include "catalogue/SelectionApplier.h"
#include "cli/DeviceLink.h"
#include "cli/DialogInputs.h"
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

// The writes the arguments ask for; an error text when one is wrong.
std::optional<std::string> PlanWrites(const std::vector<std::string>& items, const CQuillonDoc& doc,
                                      const CatalogueTree& tree, std::vector<Write>& writes)
{
    DialogInputs inputs;
    ValueCollector collector;
    SelectionApplier applier(inputs, collector, collector, [] { return std::int64_t{0}; });
    for (const std::string& item : items) {
        const auto equals = item.find('=');
        const std::string code = item.substr(0, equals);
        const TreeNodeInfo* option = FindOption(doc.catalogue.treeNodes, code);
        if (option == nullptr)
            return "no option with code " + code + " in the catalogue";
        inputs.SetValue(equals == std::string::npos ? std::nullopt : std::optional(item.substr(equals + 1)));
        collector.last.reset();
        int route = -1;
        applier.Apply(doc.catalogue.treeNodes, tree, option->treeItem, ApplyRequest{true, false}, route);
        if (!inputs.Error().empty())
            return code + ": " + inputs.Error();
        if (equals != std::string::npos && !inputs.DialogAsked())
            return code + " takes no value";
        if (!collector.last)
            return code + " needs a value";
        writes.push_back({tree.Item(option->treeItem).data, *collector.last});
    }
    return std::nullopt;
}

}  // namespace

Verb AddSetVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("set", "Write settings to the device, then read them back.");
    command->footer("Connects, reads back, writes each option as the window does with \"修改设备参数\" ticked "
                    "(VALUE as for sheet), then prints what read prints. A refused write exits 1.");
    struct SetArgs {
        PortArgs port;
        std::vector<std::string> items;
    };
    auto args = std::make_shared<SetArgs>();
    AddPortOptions(*command, args->port, true);
    command->add_option("CODE[=VALUE]", args->items, "option codes of the catalogue, with a value where asked")
        ->required()
        ->type_name("");
    return {command, [args] {
                DeviceLink link(args->port);
                if (!link.LoadCatalogue())
                    return 1;
                std::vector<Write> writes;
                if (const auto wrong = PlanWrites(args->items, link.Doc(), link.Tree(), writes))
                    throw CLI::ValidationError(*wrong);
                if (const int status = link.OpenAndConnect(true); status != 0)
                    return status;
                for (const Write& write : writes) {
                    if (const int status = link.Write(write.recordIndex, write.value); status != 0)
                        return status;
                }
                PrintReportedOptions(ReportedOptions(link.Doc(), link.Tree()), args->port.json);
                return 0;
            }};
}

}  // namespace quillon::cli
