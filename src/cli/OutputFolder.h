#pragma once
// The folder a command writes its files into, made when missing.

#include <string>

// Makes `folder` and the folders above it when missing; false, after a message
// naming the folder and why, when it cannot be made.
bool MakeOutputFolder(const std::string& folder);
