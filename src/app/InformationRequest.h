#pragma once
// The window program's answers to --help and --version, given before Qt
// starts so that they work without a display.

#include <cstdio>

// The exit status when the arguments are such a request (the answer printed
// to `out`), -1 when they ask for the window.
int AnswerInformationRequest(int argc, const char* const* argv, std::FILE* out);
