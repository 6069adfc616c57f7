#pragma once
// Makes the files of a batch durable in one step: a SafeFileWriter given the
// batch puts its file in place without flushing it, and MakeDurable flushes
// every such file (one syncfs per file system where there is one, else one
// fsync of each file and of each folder) before the batch may report success.

#include <string>
#include <vector>

class DurabilityBatch {
public:
    DurabilityBatch() = default;
    DurabilityBatch(const DurabilityBatch&) = delete;
    DurabilityBatch& operator=(const DurabilityBatch&) = delete;

    // Records a file just put in place at `path`; `created` when nothing was
    // there before (such a file is removed again when the flush fails).
    void Add(const std::string& path, bool created);
    // Flushes every recorded file and its folder. On failure reports "Error on
    // writing [%s]: <reason>", naming the file or folder, removes the files
    // the batch created (their bytes may never reach the disk) and returns
    // false. The batch is empty afterwards either way.
    bool MakeDurable();
    bool Empty() const { return files_.empty(); }

private:
    struct Placed {
        std::string path;
        bool created = false;
    };
    std::vector<Placed> files_;
};
