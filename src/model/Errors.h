#pragma once
// Exceptions raised by the toolkit-free layers. Every error carries a finished,
// user-facing message; the windows only show it.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kestrund {

// Base of every error the program raises itself.
class EKestrundError : public std::runtime_error {
public:
    explicit EKestrundError(const std::string& message) : std::runtime_error(message) {}
};

// An index outside 0..count-1 on one of the element lists.
class EListIndexError : public EKestrundError {
public:
    explicit EListIndexError(long long index)
        : EKestrundError("List index out of bounds (" + std::to_string(index) + ")") {}
};

// Reading past the end of the data, or data that contradicts itself.
class EStreamReadError : public EKestrundError {
public:
    using EKestrundError::EKestrundError;
};

// A tile file whose contents are inconsistent (counts, offsets, sizes).
class EFileFormatError : public EStreamReadError {
public:
    using EStreamReadError::EStreamReadError;
};

class EFileOpenError : public EKestrundError {
public:
    explicit EFileOpenError(const std::string& fileName)
        : EKestrundError("Cannot open file \"" + fileName + "\""), FileName(fileName) {}
    EFileOpenError(const std::string& fileName, const std::string& reason)
        : EKestrundError("Cannot open file \"" + fileName + "\". " + reason), FileName(fileName) {}
    std::string FileName;
};

class EFileCreateError : public EKestrundError {
public:
    explicit EFileCreateError(const std::string& fileName)
        : EKestrundError("Cannot create file \"" + fileName + "\""), FileName(fileName) {}
    EFileCreateError(const std::string& fileName, const std::string& reason)
        : EKestrundError("Cannot create file \"" + fileName + "\". " + reason), FileName(fileName) {}
    std::string FileName;
};

// A text that is not a number of the expected form.
class EConvertError : public EKestrundError {
public:
    using EKestrundError::EKestrundError;
};

// An argument outside its range (for example a border import selector above 4).
class EInvalidArgument : public EKestrundError {
public:
    using EKestrundError::EKestrundError;
};

// A picture that cannot be read; Code is the reader's result code.
class EInvalidImageFormat : public EKestrundError {
public:
    EInvalidImageFormat(const std::string& message, std::uint32_t code)
        : EKestrundError(message), Code(code) {}
    std::uint32_t Code;
};

// A tile or border picture that is not 94 x 72.
class EInvalidImageSize : public EKestrundError {
public:
    EInvalidImageSize(const std::string& message, std::uint32_t actualWidth, std::uint32_t actualHeight)
        : EKestrundError(message), ActualWidth(actualWidth), ActualHeight(actualHeight) {}
    std::uint32_t ActualWidth;
    std::uint32_t ActualHeight;
};

} // namespace kestrund
