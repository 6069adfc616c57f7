#include "cli/CliApp.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <new>

#include "VarnokVersion.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "support/Messages.h"

int RunVarnokDat(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ConsoleUserInterface ui(err);
    InstallUserInterface(&ui);
    ConsoleProgress progress(stderr);
    CliContext context{out, err, ui, progress};

    CLI::App app{"varnok-dat: maintains the sprite archives and S16 files of Varnok", "varnok-dat"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("varnok-dat ") + kVarnokVersion,
                         "print the version and stop");
    app.fallthrough(false);
    AddCommands(app, context);
    AddDescribeCommand(app, context);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    int status = kExitDone;
    try {
        app.parse(reversed);
        status = context.status;
    } catch (const CLI::CallForHelp& e) {
        status = app.exit(e, out, err);
    } catch (const CLI::CallForAllHelp& e) {
        status = app.exit(e, out, err);
    } catch (const CLI::CallForVersion& e) {
        status = app.exit(e, out, err);
    } catch (const CLI::ParseError& e) {
        app.exit(e, out, err);
        status = kExitUsage;
    } catch (const std::bad_alloc&) {
        // Every rewrite abandons its scratch file as the stack unwinds, so no
        // file is left half-written; the user learns what stopped.
        std::string doing;
        for (const CLI::App* command : app.get_subcommands())
            doing = FormatText("varnok-dat %s was stopped", command->get_name().c_str());
        ReportOutOfMemory(doing);
        status = kExitFailed;
    }
    // Output lost on a full disk or a closed pipe is a failure like any other.
    errno = 0;
    out.flush();
    if (!out && status == kExitDone) {
        ui.ShowMessage(MessageKind::Error,
                       errno != 0 ? "Error on writing [standard output]: " + SystemErrorText(errno)
                                  : std::string("Error on writing [standard output]"));
        status = kExitFailed;
    }
    InstallUserInterface(nullptr);
    return status;
}
