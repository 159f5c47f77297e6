// zarc test: decodes every entry into nothing and checks it as extraction would.
#include <cstdio>
#include <string>

#include "archive/Archiver.h"
#include "tools/zarc/ArchiveFile.h"
#include "tools/zarc/Cli.h"
#include "tools/zarc/Commands.h"

namespace zarc {

namespace {

constexpr const char* kHelp =
    "usage: zarc test ARCHIVE [--key N]\n\n"
    "Decodes every entry without writing a file and checks its checksum and key.\n"
    "Prints one line per entry: its name and OK, or the error.\n"
    "  --key N   the key of locked entries (decimal or 0x hex)\n";

// Swallows the decoded bytes; the checksum is all we need of them.
class DiscardStream : public kelp::Stream {
public:
    int32_t Read(void*, int32_t) override { return 0; }
    int32_t Write(const void*, int32_t count) override { return count > 0 ? count : 0; }
    int64_t Seek(int64_t, kelp::SeekOrigin) override { return 0; }
    int64_t Size() override { return 0; }
};

}  // namespace

int RunTest(const Args& args) {
    const Options o = ParseOptions(args, {"--key"}, {});
    if (o.help) {
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    if (o.operands.size() != 1) throw UsageError{"expected one ARCHIVE"};
    const std::string& path = o.operands[0];

    kelp::TArchiver archiver;
    archiver.Key = KeyOption(o);
    int failures = 0, count = 0;
    try {
        auto file = OpenArchive(path);
        ProgressBar progress(file->Size());
        archiver.OnShowProgress = progress.Handler();
        kelp::ArchiveHeader header;
        std::string methodId;
        archiver.WalkEntries(*file, header, methodId, [&](const kelp::EntryHeader& e, const std::string& name, int64_t) {
            ++count;
            progress.BeginItem(name, e.CompressedSize);
            DiscardStream sink;
            std::string result = "OK";
            try {
                archiver.ExpandEntry(sink, *file, e, methodId);
            } catch (const std::exception& ex) {
                result = ex.what();
                ++failures;
            }
            std::printf("%s: %s\n", name.c_str(), result.c_str());
        });
    } catch (const std::exception& e) {
        Error(path, e.what());
        return kExitFailure;
    }
    if (failures) {
        Error(path, std::to_string(failures) + " of " + std::to_string(count) + " entries failed");
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace zarc
