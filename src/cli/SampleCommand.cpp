// The sample subcommand: writes the demonstration data set.
#include <CLI/CLI.hpp>

#include "cli/CliCommands.h"
#include "cli/SampleData.h"

void AddSampleCommand(CLI::App& app, CliContext& context) {
    auto* sample = app.add_subcommand(
        "sample", "Write the sample archive KELPAR.dat and loose S16, BMP and SHP files");
    auto folder = std::make_shared<std::string>();
    auto items = std::make_shared<int>(kDefaultSampleItems);
    sample->add_option("FOLDER", *folder, "where to write (made when missing)")->required();
    sample
        ->add_option(
            "--items", *items,
            "S16 items in the archive, exactly, named within 12 characters; the archive holds "
            "VERSION.TXT besides (default 24)")
        ->check(CLI::Range(1, 100000));
    sample->callback([&context, folder, items] {
        context.Finish(WriteSampleData(*folder, *items, context.progress));
    });
}
