#pragma once
// What every subcommand of varnok-dat works with: its streams, the progress
// bar, the console interface, and the exit status it sets.

#include <ostream>

#include "cli/ConsoleProgress.h"
#include "cli/ConsoleUserInterface.h"

namespace CLI {
class App;
}

struct CliContext {
    std::ostream& out;
    std::ostream& err;
    ConsoleUserInterface& ui;
    Progress& progress;
    int status = 0;

    // Exit status for an operation's outcome: failures already showed their message.
    void Finish(bool ok) { status = ok ? 0 : 1; }
};
