#include "ImportLog.h"

#include "Errors.h"
#include "FileUtil.h"
#include "ScriptPaths.h"

#include <cerrno>
#include <cstring>

namespace kestrund {

TImportLog::TImportLog(std::vector<std::string>* list) : FLevel(llSimple), FList(list) {}

TImportLog::TImportLog(std::string fileName, int level)
    : FLevel(level == llTotal ? llTotal : llExtensive), FFileName(std::move(fileName))
{
}

TImportLog::~TImportLog()
{
    if (FFile)
        std::fclose(FFile);
}

void TImportLog::Add(const std::string& message, int messageLevel, bool complete)
{
    if (!Wants(messageLevel))
        return;
    if (FFileName.empty()) {
        if (FList)
            FList->push_back(message);
        return;
    }
    FPending += message;
    FPending += "\r\n";
    if (complete)
        WriteOut();
}

void TImportLog::WriteOut()
{
    // The file is replaced on the first write, then only appended to.
    if (!FFile) {
        FFile = std::fopen(ScriptFilePath(FFileName).c_str(), "wb");
        if (!FFile)
            throw ELogWriteError(EFileCreateError(FFileName, std::strerror(errno)));
    }
    const bool ok = std::fwrite(FPending.data(), 1, FPending.size(), FFile) == FPending.size() &&
                    std::fflush(FFile) == 0;
    FPending.clear();
    if (!ok)
        throw ELogWriteError(EFileCreateError(FFileName));
}

void WriteLogFile(const std::string& fileName, const std::vector<std::string>& messages)
{
    std::string text;
    for (const std::string& m : messages) {
        text += m;
        text += "\r\n";
    }
    try {
        WriteWholeFile(ScriptFilePath(fileName).string(),
                       std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    } catch (const EFileCreateError& e) {
        throw ELogWriteError(e);
    }
}

} // namespace kestrund
