#include "tools/zarc/InputFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/Exception.h"

namespace zarc {

namespace {

namespace stdfs = std::filesystem;

std::string EntryName(const stdfs::path& relative) {
    std::string name;
    for (const auto& part : relative) {
        if (!name.empty()) name += '\\';
        name += part.string();
    }
    return name;
}

bool SameFile(const stdfs::path& a, const stdfs::path& b) {
    std::error_code ec;
    return stdfs::exists(b, ec) && stdfs::equivalent(a, b, ec);
}

}  // namespace

std::vector<InputFile> CollectInputs(const std::vector<std::string>& arguments, const std::string& exclude) {
    std::vector<InputFile> files;
    const stdfs::path excluded(exclude);
    for (const auto& arg : arguments) {
        std::error_code ec;
        const stdfs::path root(arg);
        const auto status = stdfs::status(root, ec);
        if (ec || !stdfs::exists(status)) throw kelp::Exception(arg + ": No such file or directory");
        if (stdfs::is_regular_file(status)) {
            if (SameFile(root, excluded)) continue;
            files.push_back({arg, root.filename().string()});
            continue;
        }
        if (!stdfs::is_directory(status)) throw kelp::Exception(arg + ": not a regular file or directory");
        std::vector<InputFile> found;
        stdfs::recursive_directory_iterator it(root, ec), end;
        if (ec) throw kelp::Exception(arg + ": " + ec.message());
        for (; it != end; it.increment(ec)) {
            if (ec) throw kelp::Exception(arg + ": " + ec.message());
            if (!it->is_regular_file(ec) || SameFile(it->path(), excluded)) continue;
            found.push_back({it->path().string(), EntryName(it->path().lexically_relative(root))});
        }
        if (ec) throw kelp::Exception(arg + ": " + ec.message());
        std::sort(found.begin(), found.end(),
                  [](const InputFile& a, const InputFile& b) { return a.entryName < b.entryName; });
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

}  // namespace zarc
