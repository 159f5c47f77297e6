#include "PathName.h"

#include <windows.h>

#include <cctype>
#include <vector>

#include "UninstallError.h"

namespace kelp {

namespace {

bool IsSep(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> SplitParts(const std::string& s) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : s) {
        if (IsSep(c)) {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    return parts;
}

void CheckPart(const std::string& part, const std::string& path) {
    if (part == "." || part == "..") return;
    for (char c : part) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|')
            throw EBadPath("\"" + path + "\" is not a plain file path");
    }
    if (!part.empty() && (part.back() == '.' || part.back() == ' '))
        throw EBadPath("\"" + path + "\" has a name ending in a dot or a blank");
}

}  // namespace

std::string NormalisePath(const std::string& path) {
    std::string root, rest;
    if (path.size() >= 2 && IsSep(path[0]) && IsSep(path[1])) {
        // \\?\ and \\.\ reach devices and skip Windows' own normalising: never ours.
        if (path.size() >= 3 && (path[2] == '?' || path[2] == '.'))
            throw EBadPath("\"" + path + "\" is a device path");
        auto parts = SplitParts(path.substr(2));
        if (parts.size() < 2 || parts[0].empty() || parts[1].empty())
            throw EBadPath("\"" + path + "\" names no share");
        CheckPart(parts[0], path);
        CheckPart(parts[1], path);
        if (parts[0] == "." || parts[0] == ".." || parts[1] == "." || parts[1] == "..")
            throw EBadPath("\"" + path + "\" names no share");
        root = "\\\\" + parts[0] + "\\" + parts[1];
        size_t skip = 2 + parts[0].size() + 1 + parts[1].size();
        rest = skip < path.size() ? path.substr(skip) : std::string();
    } else if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
               IsSep(path[2])) {
        root = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) + ":";
        rest = path.substr(2);
    } else {
        throw EBadPath("\"" + path + "\" is not a full path");
    }

    std::vector<std::string> kept;
    for (const auto& part : SplitParts(rest)) {
        CheckPart(part, path);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        kept.push_back(part);
    }
    std::string out = root;
    if (kept.empty()) return root.size() == 2 ? root + "\\" : root;
    for (const auto& part : kept) out += "\\" + part;
    return out;
}

std::string PathKey(const std::string& normalisedPath) {
    std::string key = normalisedPath;
    // The ANSI code page's own upper case, as the file system compares names.
    if (!key.empty()) ::CharUpperBuffA(key.data(), static_cast<DWORD>(key.size()));
    return key;
}

bool SamePath(const std::string& a, const std::string& b) { return PathKey(a) == PathKey(b); }

bool IsInside(const std::string& path, const std::string& dir) {
    std::string p = PathKey(path), d = PathKey(dir);
    if (d.empty() || p.size() <= d.size()) return false;
    if (d.back() == '\\') return p.compare(0, d.size(), d) == 0;
    return p.compare(0, d.size(), d) == 0 && p[d.size()] == '\\';
}

std::string FileNamePart(const std::string& path) {
    size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

size_t RootLength(const std::string& p) {
    if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') {
        size_t server = p.find('\\', 2);
        if (server == std::string::npos) return p.size();
        size_t share = p.find('\\', server + 1);
        return share == std::string::npos ? p.size() : share;
    }
    return p.size() >= 3 ? 3 : p.size();
}

std::string ParentPath(const std::string& p) {
    size_t root = RootLength(p);
    if (p.size() <= root) return p;
    size_t cut = p.find_last_of('\\');
    if (cut == std::string::npos || cut < root) return p.substr(0, root);
    if (cut + 1 == root) return p.substr(0, root);  // "C:\x" -> "C:\"
    return p.substr(0, cut);
}

}  // namespace kelp
