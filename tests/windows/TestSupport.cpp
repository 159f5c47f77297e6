#include "TestSupport.h"

#include <windows.h>

#include <stdexcept>

namespace kelp::test {

namespace {

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA found;
    HANDLE h = ::FindFirstFileA((dir + "*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = dir + name;
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + "\\");
            else
                ::DeleteFileA(path.c_str());
        } while (::FindNextFileA(h, &found));
        ::FindClose(h);
    }
    ::RemoveDirectoryA(dir.c_str());
}

}  // namespace

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

TempDir::TempDir() {
    char base[MAX_PATH];
    if (!::GetTempPathA(MAX_PATH, base)) throw std::runtime_error("no temp directory");
    static unsigned counter = 0;
    for (;;) {
        path_ = std::string(base) + "kelp-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        if (::CreateDirectoryA(path_.c_str(), nullptr)) break;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + path_);
    }
    path_ += '\\';
}

TempDir::~TempDir() { RemoveTree(path_); }

bool FileExists(const std::string& path) {
    const DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    const DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

Bytes ReadWholeFile(const std::string& path) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
    Bytes data(::GetFileSize(h, nullptr));
    DWORD done = 0;
    const BOOL ok = data.empty() || ::ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &done, nullptr);
    ::CloseHandle(h);
    if (!ok || done != data.size()) throw std::runtime_error("cannot read " + path);
    return data;
}

void WriteWholeFile(const std::string& path, const Bytes& data) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
    DWORD done = 0;
    const BOOL ok = data.empty() || ::WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &done, nullptr);
    ::CloseHandle(h);
    if (!ok || done != data.size()) throw std::runtime_error("cannot write " + path);
}

TestEntry StoredEntry(const std::string& name, const std::string& text, uint32_t dosTime, uint16_t attributes) {
    TestEntry e;
    e.Name = name;
    e.Stored = ToBytes(text);
    e.UncompressedSize = static_cast<int32_t>(text.size());
    e.Checksum = ByteSum(e.Stored.data(), e.Stored.size());
    e.DateTime = dosTime;
    e.Attributes = attributes;
    return e;
}

Bytes BuildArchive(const std::vector<TestEntry>& entries, const std::string& methodId, int32_t totalSize) {
    int32_t sum = 0;
    for (const TestEntry& e : entries) sum += e.UncompressedSize;
    ArchiveHeader h = BuildArchiveHeader(methodId, totalSize < 0 ? sum : totalSize, caMulti);
    Bytes out(kArchiveHeaderSize);
    EncodeArchiveHeader(h, out.data());
    for (const TestEntry& e : entries) {
        EntryHeader eh;
        eh.NameLength = static_cast<int16_t>(e.Name.size());
        eh.DateTime = e.DateTime;
        eh.Attributes = e.Attributes;
        eh.UncompressedSize = e.UncompressedSize;
        eh.CompressedSize = static_cast<int32_t>(e.Stored.size());
        eh.Method = e.Method;
        eh.Checksum = e.Checksum;
        uint8_t record[kEntryHeaderSize];
        EncodeEntryHeader(eh, record);
        out.insert(out.end(), record, record + kEntryHeaderSize);
        out.insert(out.end(), e.Name.begin(), e.Name.end());
        out.insert(out.end(), e.Stored.begin(), e.Stored.end());
    }
    return out;
}

}  // namespace kelp::test
