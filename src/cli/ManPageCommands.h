#pragma once
// Writes the COMMANDS section of the varnok-dat manual page (a help2man
// include file) from its command tree: each command's synopsis, what it does
// and its options.

#include <ostream>

namespace CLI {
class App;
}

void WriteManPageCommands(const CLI::App& app, std::ostream& out);
