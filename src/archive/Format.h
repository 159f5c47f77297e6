// Byte layout of the archive: a 21-byte header, then entries of a 25-byte header,
// the name and the data. All integers little-endian.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "base/Stream.h"

namespace kelp {

inline constexpr int kArchiveHeaderSize = 21;
inline constexpr int kEntryHeaderSize = 25;
inline constexpr uint8_t kArchiveMagic[5] = {'Z', 'A', 'R', 'C', 0x1A};
inline constexpr uint8_t caMulti = 1;

struct ArchiveHeader {
    uint8_t Magic[5] = {};
    char MethodId[3] = {};
    int32_t TotalSize = 0;
    uint8_t ArchiveType = 0;
    int32_t Reserved = 0;
    int32_t KeyFlag = 0;

    std::string MethodIdString() const { return std::string(MethodId, 3); }
};

struct EntryHeader {
    int16_t NameLength = 0;
    uint32_t DateTime = 0;
    uint16_t Attributes = 0;
    int32_t UncompressedSize = 0;
    int32_t CompressedSize = 0;
    uint8_t Method = 0;
    uint32_t Checksum = 0;
    int32_t Lock = 0;
};

using TRecognizeEvent = std::function<void(const std::string& CompressID, bool& recognized)>;

// Serialisation of the fixed-size records.
void EncodeArchiveHeader(const ArchiveHeader& h, uint8_t out[kArchiveHeaderSize]);
ArchiveHeader DecodeArchiveHeader(const uint8_t in[kArchiveHeaderSize]);
void EncodeEntryHeader(const EntryHeader& h, uint8_t out[kEntryHeaderSize]);
EntryHeader DecodeEntryHeader(const uint8_t in[kEntryHeaderSize]);

ArchiveHeader BuildArchiveHeader(const std::string& methodId, int32_t totalSize, uint8_t archiveType,
                                 int32_t key = 0);
// Index 0..4 of a method id; OnRecognize may accept others as "CUS".
int RecognizeMethod(const std::string& id, const TRecognizeEvent& onRecognize);
// Reads and checks the header at the current position; a stream too short to hold
// one counts as an empty archive. Hands back the method id string.
ArchiveHeader ReadArchiveHeader(Stream& s, std::string& methodId, const TRecognizeEvent& onRecognize);
// Reads the next entry header and its name; false when either is incomplete.
bool ReadEntryHeader(Stream& s, EntryHeader& header, std::string& name);

// The entry checksum: a wrap-around sum of the plain bytes.
inline uint32_t ByteSum(const uint8_t* data, size_t n, uint32_t sum = 0) {
    for (size_t i = 0; i < n; ++i) sum += data[i];
    return sum;
}

}  // namespace kelp
