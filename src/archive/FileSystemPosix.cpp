// POSIX file-system layer: backslashes become slashes at the OS boundary.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "archive/FileSystem.h"

namespace kelp::fs {

namespace {

std::string Native(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

class PosixFile : public FileStream {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { Close(); }

    int32_t Read(void* buffer, int32_t count) override {
        if (count <= 0 || fd_ < 0) return 0;
        int32_t total = 0;
        while (total < count) {
            ssize_t n = ::read(fd_, static_cast<char*>(buffer) + total, count - total);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            total += static_cast<int32_t>(n);
        }
        return total;
    }
    int32_t Write(const void* buffer, int32_t count) override {
        if (count <= 0 || fd_ < 0) return 0;
        int32_t total = 0;
        while (total < count) {
            ssize_t n = ::write(fd_, static_cast<const char*>(buffer) + total, count - total);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            total += static_cast<int32_t>(n);
        }
        return total;
    }
    int64_t Seek(int64_t offset, SeekOrigin origin) override {
        int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
        off_t r = ::lseek(fd_, static_cast<off_t>(offset), whence);
        if (r < 0) r = ::lseek(fd_, 0, SEEK_CUR);  // a seek before the start stays put
        return static_cast<int64_t>(r);
    }
    int64_t Size() override {
        struct stat st;
        return ::fstat(fd_, &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;
    }
    void Close() override {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    bool SetDosTime(uint32_t dos) override {
        struct tm t{};
        t.tm_year = static_cast<int>((dos >> 25) & 0x7F) + 80;
        t.tm_mon = static_cast<int>((dos >> 21) & 0x0F) - 1;
        t.tm_mday = static_cast<int>((dos >> 16) & 0x1F);
        t.tm_hour = static_cast<int>((dos >> 11) & 0x1F);
        t.tm_min = static_cast<int>((dos >> 5) & 0x3F);
        t.tm_sec = static_cast<int>((dos & 0x1F) * 2);
        t.tm_isdst = -1;
        time_t when = mktime(&t);
        if (when == static_cast<time_t>(-1)) return false;
        struct timespec times[2];
        times[0].tv_sec = when;
        times[0].tv_nsec = 0;
        times[1] = times[0];
        return ::futimens(fd_, times) == 0;
    }

private:
    int fd_;
};

}  // namespace

std::unique_ptr<FileStream> CreateNewFile(const std::string& path) {
    int fd = ::open(Native(path).c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw EFCreateError("Cannot create file " + path);
    return std::make_unique<PosixFile>(fd);
}

std::unique_ptr<FileStream> OpenFileRead(const std::string& path) {
    int fd = ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw EFOpenError("Cannot open file " + path);
    return std::make_unique<PosixFile>(fd);
}

uint32_t GetAttributes(const std::string& path) {
    struct stat st;
    if (::stat(Native(path).c_str(), &st) != 0) return kInvalidAttributes;
    uint32_t a = S_ISDIR(st.st_mode) ? kAttrDirectory : kAttrArchive;
    if (!(st.st_mode & S_IWUSR)) a |= kAttrReadOnly;
    return a;
}

bool SetAttributes(const std::string& path, uint32_t attributes) {
    const std::string p = Native(path);
    struct stat st;
    if (::stat(p.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    // Only the read-only bit has a POSIX counterpart.
    mode = (attributes & kAttrReadOnly) ? (mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
    return ::chmod(p.c_str(), mode) == 0;
}

bool RemoveFile(const std::string& path) { return ::unlink(Native(path).c_str()) == 0; }

bool MakeDirectory(const std::string& path) { return ::mkdir(Native(path).c_str(), 0777) == 0; }

double DiskFreeBytes(int drive) {
    if (drive != 0) return -1;  // there are no drive letters here
    struct statvfs v;
    if (::statvfs(".", &v) != 0) return -1;
    return static_cast<double>(static_cast<float>(v.f_frsize) * static_cast<float>(v.f_bavail));
}

int64_t FileSize(const std::string& path) {
    struct stat st;
    if (::stat(Native(path).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
    return static_cast<int64_t>(st.st_size);
}

uint32_t GetFileDosTime(const std::string& path) {
    struct stat st;
    if (::stat(Native(path).c_str(), &st) != 0) return 0;
    struct tm t{};
    if (!localtime_r(&st.st_mtime, &t)) return 0;
    if (t.tm_year < 80) return (0u << 25) | (1u << 21) | (1u << 16);  // 1980-01-01
    if (t.tm_year > 207) t.tm_year = 207;
    return (static_cast<uint32_t>(t.tm_year - 80) << 25) | (static_cast<uint32_t>(t.tm_mon + 1) << 21) |
           (static_cast<uint32_t>(t.tm_mday) << 16) | (static_cast<uint32_t>(t.tm_hour) << 11) |
           (static_cast<uint32_t>(t.tm_min) << 5) | static_cast<uint32_t>(t.tm_sec / 2);
}

bool MoveFileReplace(const std::string& from, const std::string& to) {
    return ::rename(Native(from).c_str(), Native(to).c_str()) == 0;
}

std::string LastErrorText() { return std::strerror(errno); }

}  // namespace kelp::fs
