#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliApp.h"

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file-size limit a write then fails (and is reported) instead of
    // ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunVarnokDat(args, std::cout, std::cerr);
}
