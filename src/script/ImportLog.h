#pragma once
// The import log: messages of three levels, kept in the caller's list (Simple) or
// written to the log file as they come (Extensive, Total).

#include "Errors.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace kestrund {

// The log file could not be written: the import counts as failed.
class ELogWriteError : public EFileCreateError {
public:
    explicit ELogWriteError(const EFileCreateError& cause) : EFileCreateError(cause) {}
};

enum TLogLevel : int {
    llSimple = 0,    // errors, section summaries and the closing message
    llExtensive = 1, // + progress messages
    llTotal = 2,     // + one message per loaded element
};

class TImportLog {
public:
    // Simple level: messages go into list (dropped when it is null).
    explicit TImportLog(std::vector<std::string>* list);
    // Extensive or Total level: the file holds this import's messages, complete up to
    // the last finished message at every moment.
    TImportLog(std::string fileName, int level);
    ~TImportLog();
    TImportLog(const TImportLog&) = delete;
    TImportLog& operator=(const TImportLog&) = delete;

    int Level() const { return FLevel; }
    bool Wants(int messageLevel) const { return messageLevel <= FLevel; }

    // Adds a message of the given level. With complete false the file is brought up
    // to date only with the next complete message (an error waits for its line).
    void Add(const std::string& message, int messageLevel, bool complete = true);

private:
    void WriteOut();

    int FLevel;
    std::vector<std::string>* FList = nullptr;
    std::string FFileName;
    std::FILE* FFile = nullptr;
    std::string FPending;
};

// Writes the messages, each followed by CR LF, replacing the file. Raises ELogWriteError.
void WriteLogFile(const std::string& fileName, const std::vector<std::string>& messages);

} // namespace kestrund
