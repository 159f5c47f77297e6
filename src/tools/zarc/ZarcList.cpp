// zarc list: one row per entry, or the whole archive as one JSON document.
#include <cstdio>
#include <string>

#include "archive/Archiver.h"
#include "archive/codec/Methods.h"
#include "tools/zarc/ArchiveFile.h"
#include "tools/zarc/Cli.h"
#include "tools/zarc/Commands.h"

namespace zarc {

namespace {

constexpr const char* kHelp =
    "usage: zarc list ARCHIVE [--json]\n\n"
    "Lists every entry: sizes, method, checksum, lock, date-time, attributes, name.\n"
    "  --json   print one JSON document with the header fields and an \"entries\" array\n";

std::string MethodName(uint8_t method) {
    if (method < kelp::kMethodCount) return kelp::kMethodIds[method];
    std::string unknown = "#";
    unknown += std::to_string(method);
    return unknown;
}

// Names are bytes in the ANSI code page: bytes above 0x7F are shown as Latin-1.
std::string JsonString(const std::string& s) {
    std::string out = "\"";
    char buf[8];
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

}  // namespace

std::string FormatDosDateTime(uint32_t dos) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%02u", ((dos >> 25) & 0x7F) + 1980,
                  (dos >> 21) & 0x0F, (dos >> 16) & 0x1F, (dos >> 11) & 0x1F, (dos >> 5) & 0x3F, (dos & 0x1F) * 2);
    return buf;
}

int RunList(const Args& args) {
    const Options o = ParseOptions(args, {}, {"--json"});
    if (o.help) {
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    if (o.operands.size() != 1) throw UsageError{"expected one ARCHIVE"};
    const std::string& path = o.operands[0];
    const bool json = o.Flag("--json");

    kelp::TArchiver archiver;
    kelp::ArchiveHeader header;
    std::string methodId;
    std::string rows;
    int64_t count = 0, unpacked = 0, packed = 0;
    try {
        auto file = OpenArchive(path);
        archiver.WalkEntries(*file, header, methodId,
                             [&](const kelp::EntryHeader& e, const std::string& name, int64_t offset) {
            char buf[512];
            if (json) {
                std::snprintf(buf, sizeof buf,
                              "%s\n    {\"Name\": %s, \"NameLength\": %d, \"DateTime\": %u, \"Attributes\": %u, "
                              "\"UncompressedSize\": %d, \"CompressedSize\": %d, \"Method\": %u, "
                              "\"MethodId\": %s, \"Checksum\": %u, \"Lock\": %d, \"HeaderOffset\": %lld}",
                              count ? "," : "", JsonString(name).c_str(), e.NameLength, e.DateTime, e.Attributes,
                              e.UncompressedSize, e.CompressedSize, e.Method, JsonString(MethodName(e.Method)).c_str(),
                              e.Checksum, e.Lock, static_cast<long long>(offset));
                rows += buf;
            } else {
                std::snprintf(buf, sizeof buf, "%10d %10d  %-4s %08X %5d  %s  %04X  ", e.UncompressedSize,
                              e.CompressedSize, MethodName(e.Method).c_str(), e.Checksum, e.Lock,
                              FormatDosDateTime(e.DateTime).c_str(), e.Attributes);
                rows += buf + name + "\n";
            }
            ++count;
            unpacked += e.UncompressedSize;
            packed += e.CompressedSize;
        });
    } catch (const std::exception& e) {
        Error(path, e.what());
        return kExitFailure;
    }

    if (json) {
        std::printf("{\n  \"Magic\": %s,\n  \"MethodId\": %s,\n  \"TotalSize\": %d,\n  \"ArchiveType\": %u,\n"
                    "  \"Reserved\": %d,\n  \"KeyFlag\": %d,\n  \"entries\": [%s%s]\n}\n",
                    JsonString(std::string(reinterpret_cast<const char*>(header.Magic), count ? 5 : 0)).c_str(),
                    JsonString(methodId).c_str(), header.TotalSize, header.ArchiveType, header.Reserved,
                    header.KeyFlag, rows.c_str(), count ? "\n  " : "");
        return kExitOk;
    }
    std::printf("      Size     Packed  Meth Checksum  Lock  Date       Time      Attr  Name\n%s", rows.c_str());
    std::printf("%10lld %10lld  %lld entr%s, header method %s, total size %d\n", static_cast<long long>(unpacked),
                static_cast<long long>(packed), static_cast<long long>(count), count == 1 ? "y" : "ies",
                methodId.empty() ? "-" : methodId.c_str(), header.TotalSize);
    return kExitOk;
}

}  // namespace zarc
