#pragma once
// Little-endian reading and writing of in-memory files. The reader never reads past
// its end: it raises EStreamReadError instead.

#include "Errors.h"

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace kestrund {

class TByteReader {
public:
    explicit TByteReader(std::span<const std::uint8_t> data) : FData(data) {}

    std::size_t Position() const { return FPos; }
    std::size_t Size() const { return FData.size(); }
    std::size_t Remaining() const { return FData.size() - FPos; }
    bool AtEnd() const { return FPos >= FData.size(); }
    void Seek(std::size_t pos)
    {
        if (pos > FData.size())
            throw EStreamReadError("Seek past the end of the data (offset " + std::to_string(pos) + ")");
        FPos = pos;
    }
    void Skip(std::size_t count) { Seek(Need(count) + count); }

    std::uint8_t U8() { return FData[Need(1)]; }
    std::uint16_t U16()
    {
        const std::size_t p = Need(2);
        return static_cast<std::uint16_t>(FData[p] | FData[p + 1] << 8);
    }
    std::uint32_t U32()
    {
        const std::size_t p = Need(4);
        return static_cast<std::uint32_t>(FData[p]) | static_cast<std::uint32_t>(FData[p + 1]) << 8 |
               static_cast<std::uint32_t>(FData[p + 2]) << 16 | static_cast<std::uint32_t>(FData[p + 3]) << 24;
    }
    // count little-endian words into dest.
    void Words(std::uint16_t* dest, std::size_t count)
    {
        const std::size_t p = Need(count * 2);
        for (std::size_t i = 0; i < count; ++i)
            dest[i] = static_cast<std::uint16_t>(FData[p + 2 * i] | FData[p + 2 * i + 1] << 8);
    }
    std::span<const std::uint8_t> Bytes(std::size_t count)
    {
        const std::size_t p = Need(count);
        return FData.subspan(p, count);
    }

private:
    // Checks that count bytes remain, advances and returns where they start.
    std::size_t Need(std::size_t count)
    {
        if (count > FData.size() - FPos)
            throw EStreamReadError("Read past the end of the data (offset " + std::to_string(FPos) + ")");
        const std::size_t p = FPos;
        FPos += count;
        return p;
    }

    std::span<const std::uint8_t> FData;
    std::size_t FPos = 0;
};

class TByteWriter {
public:
    TByteWriter() = default;
    void Reserve(std::size_t n) { FData.reserve(n); }
    std::size_t Size() const { return FData.size(); }
    const std::vector<std::uint8_t>& Data() const { return FData; }
    std::vector<std::uint8_t> Take() { return std::move(FData); }

    void U8(std::uint8_t v) { FData.push_back(v); }
    void U16(std::uint16_t v)
    {
        FData.push_back(static_cast<std::uint8_t>(v));
        FData.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v)
    {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void Words(const std::uint16_t* src, std::size_t count)
    {
        const std::size_t p = FData.size();
        FData.resize(p + 2 * count);
        for (std::size_t i = 0; i < count; ++i) {
            FData[p + 2 * i] = static_cast<std::uint8_t>(src[i]);
            FData[p + 2 * i + 1] = static_cast<std::uint8_t>(src[i] >> 8);
        }
    }
    void Bytes(std::span<const std::uint8_t> bytes) { FData.insert(FData.end(), bytes.begin(), bytes.end()); }
    // Overwrites a word written earlier (for sizes known only afterwards).
    void PatchU16(std::size_t offset, std::uint16_t v)
    {
        FData.at(offset) = static_cast<std::uint8_t>(v);
        FData.at(offset + 1) = static_cast<std::uint8_t>(v >> 8);
    }

private:
    std::vector<std::uint8_t> FData;
};

} // namespace kestrund
