#pragma once
// Whole-file reading and writing. Writing goes to a temporary file beside the target
// that replaces the target only when complete, so a failed write never damages it.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kestrund {

// How far a write has gone when WriteWholeFile returns.
enum class TWriteSync {
    Cache, // in the system's cache: after a power cut the target may be empty or partly written
    Disk,  // on the disk before and after the rename: after a power cut the target is old or new
};

// Raises EFileOpenError when the file cannot be opened or read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& fileName);

// Raises EFileCreateError when the file cannot be written; the target is then untouched.
// A Disk write first removes the temporary files that writers no longer running left
// in the target's folder.
void WriteWholeFile(const std::string& fileName, std::span<const std::uint8_t> data,
                    TWriteSync sync = TWriteSync::Cache);

// Puts what was written to the folder's files (with TWriteSync::Cache) and its entries on
// the disk, in one sync for many files. Raises EFileCreateError on failure.
void SyncFolder(const std::string& folder);

// Removes the temporary files of WriteWholeFile in the folder whose writers no longer run
// (killed mid-write). Files of live writers, this process's included, stay.
void RemoveStaleTemporaryFiles(const std::string& folder);

// The process that made a temporary file of WriteWholeFile, by its name; 0 for other names.
long TemporaryFileWriter(const std::string& fileName);

} // namespace kestrund
