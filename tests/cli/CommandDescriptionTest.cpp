// The completion script and the manual page's command list are written from
// the command tree: what they take from it on a tree with the shapes the
// program's commands may have (option groups, hidden parts, repeated
// arguments, numbers).
#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/BashCompletion.h"
#include "cli/CommandTree.h"
#include "cli/ManPageCommands.h"

namespace {

struct Tree {
    CLI::App app{"test program", "varnok-dat"};
    std::vector<std::string> files;
    std::string text;
    int number = 0;
    bool flag = false;

    Tree() {
        auto* pack = app.add_subcommand("pack-all", "Pack \\ every file");
        pack->add_option("FILE", files, "the files")->required();
        pack->add_option("-o,--output", text, "where to write");
        pack->add_flag("--json", flag, ".json on standard output");
        pack->add_option("--secret", text, "hidden")->group("");
        auto* output = pack->add_option_group("Output");
        output->add_option("--jobs", number, "parallel jobs");
        pack->add_option_group("")->add_flag("--hidden-group", flag, "hidden");
        app.add_subcommand("internal", "hidden")->group("");
    }
};

std::vector<std::string> Names(const std::vector<CommandOption>& options) {
    std::vector<std::string> names;
    for (const CommandOption& option : options)
        for (const std::string& name : option.names)
            names.push_back(name + ":" + option.value);
    return names;
}

}  // namespace

TEST(CommandDescription, TreeListsVisibleCommandsOptionsAndArguments) {
    Tree tree;
    const std::vector<CommandInfo> commands = DescribeCommands(tree.app);
    ASSERT_EQ(commands.size(), 1U);
    EXPECT_EQ(commands[0].name, "pack-all");
    EXPECT_EQ(Names(commands[0].options),
              (std::vector<std::string>{"-h:", "--help:", "-o:TEXT", "--output:TEXT",
                                        "--json:", "--jobs:INT"}));
    EXPECT_EQ(CommandSynopsis(commands[0]), "pack-all [OPTIONS] FILE...");
}

TEST(CommandDescription, CompletionAndManualPageFollowTheTree) {
    Tree tree;
    std::ostringstream completion;
    WriteBashCompletion(tree.app, completion);
    const std::string script = completion.str();
    EXPECT_NE(script.find("\"pack-all -h --help\""), std::string::npos) << script;
    EXPECT_NE(script.find("options=\"-h --help -o --output --json --jobs\""), std::string::npos);
    EXPECT_NE(script.find("numbers=\"--jobs\""), std::string::npos);
    for (const char* hidden : {"internal", "--secret", "--hidden-group"})
        EXPECT_EQ(script.find(hidden), std::string::npos) << hidden;

    std::ostringstream page;
    WriteManPageCommands(tree.app, page);
    const std::string roff = page.str();
    EXPECT_EQ(roff.rfind("[COMMANDS]\n", 0), 0U);
    // Minus signs and backslashes escaped, no line starting with a control character.
    EXPECT_NE(roff.find(".SS \"pack\\-all [OPTIONS] FILE...\"\nPack \\e every file.\n"),
              std::string::npos)
        << roff;
    EXPECT_NE(roff.find("\\fB\\-o\\fR, \\fB\\-\\-output\\fR \\fITEXT\\fR\nwhere to write\n"),
              std::string::npos);
    EXPECT_NE(roff.find("\n\\&.json on standard output\n"), std::string::npos);
    EXPECT_EQ(roff.find("internal"), std::string::npos);
}
