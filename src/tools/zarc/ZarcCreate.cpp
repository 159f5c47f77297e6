// zarc create: codes files into a new archive, written under a temporary name and
// renamed into place only when complete.
#include <cstdio>
#include <limits>
#include <map>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

#include "archive/ArchiveWriter.h"
#include "archive/FileSystem.h"
#include "archive/codec/Methods.h"
#include "base/StringList.h"
#include "tools/zarc/Cli.h"
#include "tools/zarc/Commands.h"
#include "tools/zarc/InputFiles.h"

namespace zarc {

namespace {

constexpr const char* kHelp =
    "usage: zarc create ARCHIVE [-m METHOD] [--key N] [-v] FILE|DIR...\n\n"
    "Writes a new archive holding the files given and every file below the\n"
    "directories given. Entry names are relative to the argument they come from.\n"
    "  -m METHOD   non, rle, lzh (default), lh5, or best (the smallest per file)\n"
    "  --key N     lock and scramble every entry with key N (decimal or 0x hex)\n"
    "  -v          print each entry written\n"
    "A file that does not get smaller with its method is stored.\n";

struct MethodChoice {
    const char* name;
    const char* headerId;
    std::vector<uint8_t> methods;
};

const std::vector<MethodChoice>& MethodChoices() {
    static const std::vector<MethodChoice> choices = {
        {"non", "NON", {kelp::kMethodNone}},
        {"rle", "RLE", {kelp::kMethodRle}},
        {"lzh", "LZH", {kelp::kMethodLzh}},
        {"lh5", "LH5", {kelp::kMethodLh5}},
        {"best", "LZH", {kelp::kMethodRle, kelp::kMethodLzh, kelp::kMethodLh5}},
    };
    return choices;
}

const MethodChoice& FindMethod(const std::string& name) {
    for (const auto& c : MethodChoices())
        if (kelp::SameTextAscii(c.name, name)) return c;
    throw UsageError{"unknown method '" + name + "' (non, rle, lzh, lh5 or best)"};
}

uint16_t EntryAttributes(const std::string& path) {
    const uint32_t a = kelp::fs::GetAttributes(path);
    uint16_t attributes = kelp::fs::kAttrArchive;
    if (a != kelp::fs::kInvalidAttributes && (a & kelp::fs::kAttrReadOnly)) attributes |= kelp::fs::kAttrReadOnly;
    return attributes;
}

// Names the reader would take for the same file (it compares ignoring case).
void RejectDuplicateNames(const std::vector<InputFile>& files) {
    std::map<std::string, std::string> seen;
    for (const auto& f : files) {
        std::string key = f.entryName;
        for (char& c : key)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        const auto [it, fresh] = seen.emplace(key, f.hostPath);
        if (!fresh) throw kelp::Exception(f.hostPath + ": entry name " + f.entryName + " already taken by " + it->second);
    }
}

// Removes the temporary archive unless the run completes.
class TempArchive {
public:
    explicit TempArchive(std::string path) : path_(std::move(path)) {}
    ~TempArchive() {
        if (!kept_) kelp::fs::RemoveFile(path_);
    }
    TempArchive(const TempArchive&) = delete;
    TempArchive& operator=(const TempArchive&) = delete;
    const std::string& Path() const { return path_; }
    void Keep() { kept_ = true; }

private:
    std::string path_;
    bool kept_ = false;
};

}  // namespace

int RunCreate(const Args& args) {
    const Options options = ParseOptions(args, {"-m", "--key"}, {"-v"});
    if (options.help) {
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    if (options.operands.size() < 2) throw UsageError{"an archive name and at least one file or directory are needed"};
    const MethodChoice& method = FindMethod(options.Value("-m").value_or("lzh"));
    const int32_t key = KeyOption(options);
    const bool verbose = options.Flag("-v");
    const std::string archivePath = options.operands.front();
    const std::vector<std::string> inputs(options.operands.begin() + 1, options.operands.end());

    std::vector<InputFile> files;
    try {
        files = CollectInputs(inputs, archivePath);
        RejectDuplicateNames(files);
    } catch (const std::exception& e) {
        Error("", e.what());
        return kExitFailure;
    }

    TempArchive temp(archivePath + ".part" + std::to_string(static_cast<long>(getpid())));
    std::string current = temp.Path();
    try {
        int64_t totalBytes = 0;
        for (const auto& f : files) totalBytes += std::max<int64_t>(0, kelp::fs::FileSize(f.hostPath));
        ProgressBar progress(totalBytes);

        auto out = kelp::fs::CreateNewFile(temp.Path());
        kelp::ArchiveWriter writer(*out, method.headerId, key);
        for (const auto& f : files) {
            current = f.hostPath;
            auto in = kelp::fs::OpenFileRead(f.hostPath);
            const int64_t size = in->Size();
            if (size > std::numeric_limits<int32_t>::max()) throw kelp::Exception("file too large for an archive entry (2 GB at most)");
            kelp::WriterEntryInfo info;
            info.Name = ToArchivePath(f.entryName);
            info.DateTime = kelp::fs::GetFileDosTime(f.hostPath);
            info.Attributes = EntryAttributes(f.hostPath);
            progress.BeginItem(f.entryName, size);
            const auto& written = writer.AddEntry(info, *in, static_cast<int32_t>(size), method.methods, progress.Handler());
            if (verbose)
                std::printf("%s  %s  %d -> %d\n", kelp::kMethodIds[written.Header.Method], f.entryName.c_str(),
                            written.Header.UncompressedSize, written.Header.CompressedSize);
        }
        current = temp.Path();
        writer.Finish();
        out->Close();
        out.reset();
        current = archivePath;
        if (!kelp::fs::MoveFileReplace(temp.Path(), archivePath)) throw kelp::Exception(kelp::fs::LastErrorText());
        temp.Keep();
    } catch (const std::exception& e) {
        Error(current, e.what());
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace zarc
