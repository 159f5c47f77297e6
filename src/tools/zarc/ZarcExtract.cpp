// zarc extract: expands entries through the archive component into a directory.
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <direct.h>
#define getcwd _getcwd
#else
#include <unistd.h>
#endif

#include "archive/Archiver.h"
#include "tools/zarc/ArchiveFile.h"
#include "tools/zarc/Cli.h"
#include "tools/zarc/Commands.h"

namespace zarc {

namespace {

constexpr const char* kHelp =
    "usage: zarc extract ARCHIVE [-C DIR] [--key N] [--allow-unsafe-paths] [-v] [NAME...]\n\n"
    "Expands the entries NAME (all when none is given; names match ignoring case)\n"
    "under DIR (default: the current directory), creating directories as needed.\n"
    "  -C DIR                 directory to expand into\n"
    "  --key N                the key of locked entries (decimal or 0x hex)\n"
    "  --allow-unsafe-paths   also write entries with rooted names or '..' in them\n"
    "  -v                     print each file written\n";

std::string AbsoluteDir(const std::string& dir) {
#ifdef _WIN32
    const bool absolute = (dir.size() > 1 && dir[1] == ':') || (!dir.empty() && (dir[0] == '\\' || dir[0] == '/'));
#else
    const bool absolute = !dir.empty() && dir[0] == '/';
#endif
    if (absolute) return dir;
    std::vector<char> buf(4096);
    if (!getcwd(buf.data(), buf.size())) return dir;
    std::string cwd = buf.data();
    if (dir.empty() || dir == ".") return cwd;
    return cwd + "/" + dir;
}

// Why an entry name may not be written under the target directory, or empty.
// The archive is untrusted: a rooted name or a ".." part would write elsewhere.
std::string UnsafeReason(const std::string& name) {
    if (name.empty()) return "empty entry name";
    if (name[0] == '\\' || name[0] == '/') return "rooted path";
    if (name.find(':') != std::string::npos) return "path with a drive or stream name";
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos) end = name.size();
        if (name.compare(start, end - start, "..") == 0) return "path climbs out with '..'";
        start = end + 1;
    }
    return {};
}

}  // namespace

int RunExtract(const Args& args) {
    const Options o = ParseOptions(args, {"-C", "--key"}, {"--allow-unsafe-paths", "-v"});
    if (o.help) {
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    if (o.operands.empty()) throw UsageError{"expected ARCHIVE [NAME...]"};
    const std::string& path = o.operands[0];
    const bool allowUnsafe = o.Flag("--allow-unsafe-paths");

    kelp::TArchiver archiver;
    archiver.Key = KeyOption(o);
    archiver.MakeDirectories = true;
    archiver.ExceptionOnFileError = true;
    archiver.SetTargetPath(ToArchivePath(AbsoluteDir(o.Value("-C").value_or("."))));
    const std::string target = archiver.TargetPath();

    int failures = 0;
    std::string current;  // the entry being expanded, for messages
    try {
        auto file = OpenArchive(path);
        kelp::TStringList entries;
        archiver.ListArchiveEntries(*file, entries);
        file->SetPosition(0);

        kelp::TStringList selection;
        for (size_t i = 1; i < o.operands.size(); ++i) {
            if (entries.IndexOf(o.operands[i]) < 0) {
                Error(path, o.operands[i] + ": no such entry");
                ++failures;
            }
            selection.Add(o.operands[i]);
        }
        const bool selected = o.operands.size() > 1;

        int64_t total = 0;
        for (size_t i = 0; i < entries.Count(); ++i)
            if (!selected || selection.IndexOf(entries[i]) >= 0)
                total += entries.ObjectAs<kelp::TCompressedFileInfo>(i)->CompressedSize;
        ProgressBar progress(total);
        archiver.OnShowProgress = progress.Handler();

        archiver.OnCheckFile = [&](std::string& filepath, kelp::TCProcessMode) {
            const bool underTarget = filepath.compare(0, target.size(), target) == 0;
            const std::string name = underTarget ? filepath.substr(target.size()) : filepath;
            current = name;
            const std::string reason = underTarget ? UnsafeReason(name) : "rooted path";
            if (!reason.empty() && !allowUnsafe) {
                Error(path, name + ": refused, " + reason + " (use --allow-unsafe-paths to write it)");
                ++failures;
                filepath.clear();
                return;
            }
            const int index = entries.IndexOf(name);
            progress.BeginItem(name, index < 0 ? 0 : entries.ObjectAs<kelp::TCompressedFileInfo>(index)->CompressedSize);
        };
        kelp::TStringList written = selection;
        archiver.ExpandArchiveEntries(*file, selected ? &written : nullptr);
        if (o.Flag("-v") && selected)
            for (const auto& line : written) std::printf("%s\n", line.Text.c_str());
    } catch (const std::exception& e) {
        Error(current.empty() ? path : path + ": " + current, e.what());
        return kExitFailure;
    }
    return failures ? kExitFailure : kExitOk;
}

}  // namespace zarc
