#pragma once
#include "cli/ExitStatus.h"

#include <functional>

namespace CLI {
class App;
}

namespace quillon::cli {

// One verb of quillon-cli: the sub-command it added to the parser, and what
// runs when the command line chose it (returns the exit status).  A run may
// throw CLI::ValidationError for input the parser could not judge; main
// reports it like any other bad argument, with ExitStatus::BadInput.
struct Verb {
    CLI::App* command;
    std::function<ExitStatus()> run;
};

// Each verb lives in its own file and registers its sub-command, options and
// --help text here.
Verb AddCatalogueVerb(CLI::App& app);
Verb AddPortsVerb(CLI::App& app);
Verb AddVersionVerb(CLI::App& app);
Verb AddImageVerb(CLI::App& app);
Verb AddListenVerb(CLI::App& app);
Verb AddConnectVerb(CLI::App& app);
Verb AddReadVerb(CLI::App& app);
Verb AddSetVerb(CLI::App& app);
Verb AddApplyVerb(CLI::App& app);
Verb AddDiffVerb(CLI::App& app);
Verb AddFirmwareVerb(CLI::App& app);
Verb AddSendVerb(CLI::App& app);
#ifdef QUILLON_CLI_SHEET
Verb AddSheetVerb(CLI::App& app);
#endif

}  // namespace quillon::cli
