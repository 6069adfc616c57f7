#include "cli/BuildPlanText.h"

#include <filesystem>
#include <system_error>

#include "sprite/S16Builder.h"
#include "support/Messages.h"

void TellBuildPlan(std::ostream& out, const BuildPlan& plan) {
    for (const auto& [path, size] : plan.files) {
        std::error_code error;
        const std::uintmax_t before = std::filesystem::file_size(path, error);
        if (error) {
            out << FormatText("create %s (%llu bytes)\n", path.c_str(),
                              static_cast<unsigned long long>(size));
        } else {
            out << FormatText("replace %s (%llu -> %llu bytes)\n", path.c_str(),
                              static_cast<unsigned long long>(before),
                              static_cast<unsigned long long>(size));
        }
    }
    out << FormatText("%zu files; nothing was written (dry run)\n", plan.files.size());
}
