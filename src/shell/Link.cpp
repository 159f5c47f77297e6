#include "shell/Link.h"

#include "archive/Archiver.h"

namespace kelp {

namespace {

bool DirectoryExists(const std::string& path) {
    const DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates a directory with its missing parents; false when any level fails.
bool ForceDirectories(std::string dir) {
    if (!dir.empty() && dir.back() == '\\') dir.pop_back();
    if (dir.size() < 3 || DirectoryExists(dir) || ExtractFilePath(dir) == dir) return true;
    return ForceDirectories(ExtractFilePath(dir)) && ::CreateDirectoryA(dir.c_str(), nullptr) != FALSE;
}

}  // namespace

std::string TLink::CreateLink() const {
    TLinkData data;
    std::string folder;
    const size_t split = LinkFolder.find('\\');
    if (split == std::string::npos)
        folder = SpecialFolderPath(LinkFolder) + "\\";
    else
        folder = SpecialFolderPath(LinkFolder.substr(0, split)) + "\\" + LinkFolder.substr(split + 1) + "\\";

    data.PathName = FileName;
    data.Description = Description;
    data.Options = Options;
    data.Arguments = Arguments;
    data.WorkingDirectory = ExtractFilePath(FileName);

    // A folder that cannot be made shows up as a save that writes nothing.
    if (!DirectoryExists(folder)) ForceDirectories(folder);

    const std::string linkPath = folder + Description + ".lnk";
    WriteShellLink(linkPath, data);
    return linkPath;
}

}  // namespace kelp
