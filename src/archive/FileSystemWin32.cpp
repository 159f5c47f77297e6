// Win32 file-system layer: ANSI paths straight to the ...A functions.
#include <windows.h>

#include "archive/FileSystem.h"

namespace kelp::fs {

namespace {

class Win32File : public FileStream {
public:
    explicit Win32File(HANDLE handle) : handle_(handle) {}
    ~Win32File() override { Close(); }

    int32_t Read(void* buffer, int32_t count) override {
        if (count <= 0 || handle_ == INVALID_HANDLE_VALUE) return 0;
        DWORD done = 0;
        if (!::ReadFile(handle_, buffer, static_cast<DWORD>(count), &done, nullptr)) return 0;
        return static_cast<int32_t>(done);
    }
    int32_t Write(const void* buffer, int32_t count) override {
        if (count <= 0 || handle_ == INVALID_HANDLE_VALUE) return 0;
        DWORD done = 0;
        if (!::WriteFile(handle_, buffer, static_cast<DWORD>(count), &done, nullptr)) return 0;
        return static_cast<int32_t>(done);
    }
    int64_t Seek(int64_t offset, SeekOrigin origin) override {
        const DWORD method = origin == SeekOrigin::Begin     ? FILE_BEGIN
                             : origin == SeekOrigin::Current ? FILE_CURRENT
                                                             : FILE_END;
        LARGE_INTEGER distance, result;
        distance.QuadPart = offset;
        if (::SetFilePointerEx(handle_, distance, &result, method)) return result.QuadPart;
        // A seek before the start fails and leaves the position where it was.
        distance.QuadPart = 0;
        if (::SetFilePointerEx(handle_, distance, &result, FILE_CURRENT)) return result.QuadPart;
        return 0;
    }
    int64_t Size() override {
        LARGE_INTEGER size;
        return ::GetFileSizeEx(handle_, &size) ? size.QuadPart : 0;
    }
    void Close() override {
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    bool SetDosTime(uint32_t dosDateTime) override {
        FILETIME local, utc;
        if (!::DosDateTimeToFileTime(HIWORD(dosDateTime), LOWORD(dosDateTime), &local)) return false;
        if (!::LocalFileTimeToFileTime(&local, &utc)) return false;
        return ::SetFileTime(handle_, nullptr, nullptr, &utc) != FALSE;
    }

private:
    HANDLE handle_;
};

bool QueryFileData(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) != FALSE;
}

}  // namespace

std::unique_ptr<FileStream> CreateNewFile(const std::string& path) {
    // No sharing: nobody else may read a file while it is being written.
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw EFCreateError("Cannot create file " + path);
    return std::make_unique<Win32File>(h);
}

std::unique_ptr<FileStream> OpenFileRead(const std::string& path) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw EFOpenError("Cannot open file " + path);
    return std::make_unique<Win32File>(h);
}

uint32_t GetAttributes(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

bool SetAttributes(const std::string& path, uint32_t attributes) {
    return ::SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

bool RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != FALSE; }

bool MakeDirectory(const std::string& path) { return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE; }

double DiskFreeBytes(int drive) {
    char root[] = "A:\\";
    const char* rootArg = nullptr;  // the current drive's root
    if (drive != 0) {
        const int letter = drive + 64;
        if (letter < 1 || letter > 255) return -1;
        root[0] = static_cast<char>(letter);
        rootArg = root;
    }
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!::GetDiskFreeSpaceA(rootArg, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return -1;
    // Single precision, as the component has always computed it.
    const float bytes = static_cast<float>(bytesPerSector) * static_cast<float>(sectorsPerCluster) *
                        static_cast<float>(freeClusters);
    return static_cast<double>(bytes);
}

int64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!QueryFileData(path, data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

uint32_t GetFileDosTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!QueryFileData(path, data)) return 0;
    FILETIME local;
    WORD date = 0, time = 0;
    if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local)) return 0;
    if (!::FileTimeToDosDateTime(&local, &date, &time)) return 0;
    return (static_cast<uint32_t>(date) << 16) | time;
}

bool MoveFileReplace(const std::string& from, const std::string& to) {
    return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

std::string LastErrorText() {
    const DWORD code = ::GetLastError();
    char* text = nullptr;
    const DWORD n = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = n && text ? std::string(text, n) : "System error " + std::to_string(code);
    if (text) ::LocalFree(text);
    while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' '))
        result.pop_back();
    return result;
}

}  // namespace kelp::fs
