#pragma once
// The command logic that the window and the command line share: the checks
// made before an archive operation and the messages shown after it.

#include <string>
#include <utility>
#include <vector>

class DatArchive;
class Progress;

// What a file must be to become an item. The hints end the refusal messages
// (the command line names its options there; the window leaves them empty).
struct SourceRules {
    bool allowDuplicate = false;  // add a second item of a name already present
    bool force = false;           // store a file named *.S16 that does not read as one
    std::string duplicateHint;
    std::string forceHint;
};

// A file named *.S16 must read as an S16 file (an icon table the icon
// commands accept: any count the file can hold, icons within the size limits
// and their data inside the file) unless `rules.force`; other names are
// stored as they are. False after a message naming the file.
bool CheckSourceRules(const std::string& path, const SourceRules& rules);

// Replaces item `index` with a file of the same name; any other name is
// refused with the system's message. False when nothing was rewritten.
bool ReplaceWithSameNamedFile(DatArchive& archive, int index, const std::string& path,
                              Progress& progress);
// Replaces each item (index, path) with its same-named file, all in one
// rewrite; a refused file leaves the archive as it was.
bool ReplaceWithSameNamedFiles(DatArchive& archive,
                               const std::vector<std::pair<int, std::string>>& replacements,
                               Progress& progress, const SourceRules& rules = {});
// Adds the files (one rewrite for all). Needs an archive with at least one
// item; names over 12 characters and, without `rules.allowDuplicate`, names
// already in the archive (or given twice) are refused before anything is written.
bool AddFiles(DatArchive& archive, const std::vector<std::string>& paths, Progress& progress,
              const SourceRules& rules = {});
// Removes item `index` and says so; returns the removed name or empty.
std::string RemoveItemAndTell(DatArchive& archive, int index, Progress& progress);
// Removes the items in one rewrite and names each; returns the removed names.
std::vector<std::string> RemoveItemsAndTell(DatArchive& archive, const std::vector<int>& indices,
                                            Progress& progress);
// Extracts item `index` to `path` and says so; `askBeforeReplacing` when the
// user did not name the file.
bool ExtractItemAndTell(DatArchive& archive, int index, const std::string& path,
                        bool askBeforeReplacing = false);
// Tells how many items an extraction of the filtered list wrote to `folder`.
void TellFilteredExtraction(int written, const std::string& folder);
