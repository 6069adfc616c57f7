#pragma once
// One file written by extract or unpack: the bytes go to a scratch file with a
// unique name beside the target, made exclusively, and take the target's name
// only when complete. A symbolic link at the target's name is itself replaced,
// never followed; a failure leaves whatever was there untouched.

#include <string>

#include "support/DataFile.h"

class ItemOutputFile {
public:
    explicit ItemOutputFile(std::string targetPath) : targetPath_(std::move(targetPath)) {}
    ~ItemOutputFile();
    ItemOutputFile(const ItemOutputFile&) = delete;
    ItemOutputFile& operator=(const ItemOutputFile&) = delete;

    // Makes the scratch file; reports "Error on creating [target]" on failure.
    bool Create();
    DataFile& File() { return scratch_; }
    // Closes the scratch file and renames it to the target; reports and
    // removes the scratch file on failure.
    bool Commit();

private:
    void Abandon();

    std::string targetPath_;
    DataFile scratch_;
    bool created_ = false;
};
