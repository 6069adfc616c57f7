#pragma once
// Reading an SHP file whole, as a game reads it: its frame table and every
// frame's decode.

#include <string>

#include "sprite/FileProblem.h"

// Reads the SHP file at `path` and adds what is wrong to `check`: a frame
// table that cannot be what it claims (as shp-info refuses it), and frames
// that cannot be decoded. False, after a message naming the file, when it
// cannot be read.
bool VerifyShpFile(const std::string& path, FileCheck& check);
