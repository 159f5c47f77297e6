#include "archive/Format.h"

#include <cstring>

#include "archive/ArchiveErrors.h"
#include "archive/codec/Methods.h"

namespace kelp {

namespace {

void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

void EncodeArchiveHeader(const ArchiveHeader& h, uint8_t out[kArchiveHeaderSize]) {
    std::memcpy(out, h.Magic, 5);
    std::memcpy(out + 5, h.MethodId, 3);
    Put32(out + 8, static_cast<uint32_t>(h.TotalSize));
    out[12] = h.ArchiveType;
    Put32(out + 13, static_cast<uint32_t>(h.Reserved));
    Put32(out + 17, static_cast<uint32_t>(h.KeyFlag));
}

ArchiveHeader DecodeArchiveHeader(const uint8_t in[kArchiveHeaderSize]) {
    ArchiveHeader h;
    std::memcpy(h.Magic, in, 5);
    std::memcpy(h.MethodId, in + 5, 3);
    h.TotalSize = static_cast<int32_t>(Get32(in + 8));
    h.ArchiveType = in[12];
    h.Reserved = static_cast<int32_t>(Get32(in + 13));
    h.KeyFlag = static_cast<int32_t>(Get32(in + 17));
    return h;
}

void EncodeEntryHeader(const EntryHeader& h, uint8_t out[kEntryHeaderSize]) {
    Put16(out, static_cast<uint16_t>(h.NameLength));
    Put32(out + 2, h.DateTime);
    Put16(out + 6, h.Attributes);
    Put32(out + 8, static_cast<uint32_t>(h.UncompressedSize));
    Put32(out + 12, static_cast<uint32_t>(h.CompressedSize));
    out[16] = h.Method;
    Put32(out + 17, h.Checksum);
    Put32(out + 21, static_cast<uint32_t>(h.Lock));
}

EntryHeader DecodeEntryHeader(const uint8_t in[kEntryHeaderSize]) {
    EntryHeader h;
    h.NameLength = static_cast<int16_t>(Get16(in));
    h.DateTime = Get32(in + 2);
    h.Attributes = Get16(in + 6);
    h.UncompressedSize = static_cast<int32_t>(Get32(in + 8));
    h.CompressedSize = static_cast<int32_t>(Get32(in + 12));
    h.Method = in[16];
    h.Checksum = Get32(in + 17);
    h.Lock = static_cast<int32_t>(Get32(in + 21));
    return h;
}

ArchiveHeader BuildArchiveHeader(const std::string& methodId, int32_t totalSize, uint8_t archiveType,
                                 int32_t key) {
    ArchiveHeader h;
    std::memcpy(h.Magic, kArchiveMagic, 5);
    for (size_t i = 0; i < 3; ++i) h.MethodId[i] = i < methodId.size() ? methodId[i] : '\0';
    h.TotalSize = totalSize;
    h.ArchiveType = archiveType;
    h.Reserved = 0;
    h.KeyFlag = key > 0 ? 2 : 0;
    return h;
}

int RecognizeMethod(const std::string& id, const TRecognizeEvent& onRecognize) {
    for (int i = 0; i < kMethodCount; ++i)
        if (id == kMethodIds[i]) return i;
    if (onRecognize) {
        bool recognized = false;
        onRecognize(id, recognized);
        if (recognized) return kMethodCustom;
    }
    throw EUnrecognizedCompressionMethod(UnrecognizedMethodMessage(id));
}

ArchiveHeader ReadArchiveHeader(Stream& s, std::string& methodId, const TRecognizeEvent& onRecognize) {
    if (s.Size() - s.Position() < kArchiveHeaderSize) {
        ArchiveHeader h = BuildArchiveHeader("", 0, caMulti);
        methodId.clear();
        return h;
    }
    uint8_t raw[kArchiveHeaderSize] = {};
    s.Read(raw, kArchiveHeaderSize);
    ArchiveHeader h = DecodeArchiveHeader(raw);
    if (std::memcmp(h.Magic, kArchiveMagic, 5) != 0) throw EInvalidHeader(kInvalidHeaderMessage);
    if (h.ArchiveType != caMulti) throw EInvalidHeaderArchiveType(kInvalidArchiveTypeMessage);
    methodId = h.MethodIdString();
    RecognizeMethod(methodId, onRecognize);
    return h;
}

bool ReadEntryHeader(Stream& s, EntryHeader& header, std::string& name) {
    uint8_t raw[kEntryHeaderSize];
    if (s.Read(raw, kEntryHeaderSize) != kEntryHeaderSize) return false;
    header = DecodeEntryHeader(raw);
    name.assign(header.NameLength < 1 ? 0 : static_cast<size_t>(header.NameLength), '\0');
    if (header.NameLength < 0) return false;
    if (header.NameLength == 0) return true;
    return s.Read(name.data(), header.NameLength) == header.NameLength;
}

}  // namespace kelp
