#pragma once
// The command logic that the window and the command line share: the checks
// made before an archive operation and the messages shown after it.

#include <string>
#include <vector>

class DatArchive;
struct DatEntry;
class Progress;

// Replaces item `index` with a file of the same name; any other name is
// refused with the system's message. False when nothing was rewritten.
bool ReplaceWithSameNamedFile(DatArchive& archive, int index, const std::string& path,
                              Progress& progress);
// Adds the files (one rewrite for all). Needs an archive with at least one item.
bool AddFiles(DatArchive& archive, const std::vector<std::string>& paths, Progress& progress);
// Removes item `index` and says so; returns the removed name or empty.
std::string RemoveItemAndTell(DatArchive& archive, int index, Progress& progress);
// Extracts item `index` to `path` and says so; `askBeforeReplacing` when the
// user did not name the file.
bool ExtractItemAndTell(DatArchive& archive, int index, const std::string& path,
                        bool askBeforeReplacing = false);
// Tells how many items an extraction of the filtered list wrote to `folder`.
void TellFilteredExtraction(int written, const std::string& folder);
// folder + the item's name; empty, after a message, when the name is not a
// plain file name.
std::string ItemPathInFolder(const DatEntry& entry, const std::string& folder);
