#include "FuzzFiles.h"

#include <unistd.h>
#include <cstdio>

#include "support/Paths.h"
#include "support/UserInterface.h"

std::string WriteFuzzInput(const std::uint8_t* data, std::size_t size,
                           const std::string& extension) {
    const std::string path =
        TemporaryFolder() + "varnok-fuzz-" + std::to_string(::getpid()) + extension;
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}

void SilenceMessages() {
    // The default interface already answers every message silently.
    InstallUserInterface(nullptr);
}
