#pragma once
// Writes the bash completion script of varnok-dat from its command tree, so
// that every command and option the program has is completed, and no other.

#include <ostream>

namespace CLI {
class App;
}

void WriteBashCompletion(const CLI::App& app, std::ostream& out);
