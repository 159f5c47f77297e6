// Byte streams: the seekable source/destination every archive operation works on.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/Exception.h"

namespace kelp {

enum class SeekOrigin { Begin, Current, End };

class Stream {
public:
    virtual ~Stream() = default;
    Stream() = default;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Reads up to count bytes; returns how many were read (0 at the end).
    virtual int32_t Read(void* buffer, int32_t count) = 0;
    // Writes up to count bytes; returns how many were written.
    virtual int32_t Write(const void* buffer, int32_t count) = 0;
    virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;
    virtual int64_t Size() = 0;

    int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(int64_t pos) { Seek(pos, SeekOrigin::Begin); }

    // A short write is an error ("Stream write error").
    void WriteBuffer(const void* buffer, int32_t count) {
        if (count > 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
    }
    // A short read is an error ("Stream read error").
    void ReadBuffer(void* buffer, int32_t count) {
        if (count > 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
    }
};

// Growable in-memory stream; also used read-only over borrowed bytes.
class MemoryStream : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
    MemoryStream(const void* bytes, size_t size)
        : data_(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + size) {}

    int32_t Read(void* buffer, int32_t count) override {
        if (count <= 0 || pos_ >= data_.size()) return 0;
        size_t n = std::min<size_t>(static_cast<size_t>(count), data_.size() - pos_);
        std::memcpy(buffer, data_.data() + pos_, n);
        pos_ += n;
        return static_cast<int32_t>(n);
    }
    int32_t Write(const void* buffer, int32_t count) override {
        if (count <= 0) return 0;
        if (pos_ + count > data_.size()) data_.resize(pos_ + count);
        std::memcpy(data_.data() + pos_, buffer, count);
        pos_ += count;
        return count;
    }
    int64_t Seek(int64_t offset, SeekOrigin origin) override {
        int64_t base = origin == SeekOrigin::Begin ? 0
                     : origin == SeekOrigin::Current ? static_cast<int64_t>(pos_)
                                                     : static_cast<int64_t>(data_.size());
        int64_t p = base + offset;
        pos_ = p < 0 ? 0 : static_cast<size_t>(p);
        return static_cast<int64_t>(pos_);
    }
    int64_t Size() override { return static_cast<int64_t>(data_.size()); }

    const std::vector<uint8_t>& Bytes() const { return data_; }
    std::vector<uint8_t>& Bytes() { return data_; }

private:
    std::vector<uint8_t> data_;
    size_t pos_ = 0;
};

// Read-only stream over bytes owned elsewhere (a mapped resource, a fuzz input).
class ReadOnlyMemoryStream : public Stream {
public:
    ReadOnlyMemoryStream(const void* bytes, size_t size)
        : data_(static_cast<const uint8_t*>(bytes)), size_(size) {}
    int32_t Read(void* buffer, int32_t count) override {
        if (count <= 0 || pos_ >= size_) return 0;
        size_t n = std::min<size_t>(static_cast<size_t>(count), size_ - pos_);
        std::memcpy(buffer, data_ + pos_, n);
        pos_ += n;
        return static_cast<int32_t>(n);
    }
    int32_t Write(const void*, int32_t) override { return 0; }
    int64_t Seek(int64_t offset, SeekOrigin origin) override {
        int64_t base = origin == SeekOrigin::Begin ? 0
                     : origin == SeekOrigin::Current ? static_cast<int64_t>(pos_)
                                                     : static_cast<int64_t>(size_);
        int64_t p = base + offset;
        pos_ = p < 0 ? 0 : static_cast<size_t>(p);
        return static_cast<int64_t>(pos_);
    }
    int64_t Size() override { return static_cast<int64_t>(size_); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace kelp
