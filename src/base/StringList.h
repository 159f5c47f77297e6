// Ordered list of strings, each line optionally carrying an attached object.
#pragma once
#include <memory>
#include <string>
#include <vector>

namespace kelp {

class TStringList {
public:
    struct Line {
        std::string Text;
        std::shared_ptr<void> Object;
    };

    void Add(std::string text, std::shared_ptr<void> object = nullptr) {
        lines_.push_back({std::move(text), std::move(object)});
    }
    void Clear() { lines_.clear(); }
    void Delete(size_t index) { lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index)); }
    size_t Count() const { return lines_.size(); }
    bool Empty() const { return lines_.empty(); }
    const std::string& operator[](size_t i) const { return lines_[i].Text; }
    std::string& operator[](size_t i) { return lines_[i].Text; }
    template <class T>
    std::shared_ptr<T> ObjectAs(size_t i) const { return std::static_pointer_cast<T>(lines_[i].Object); }
    // Index of the first line equal to text ignoring ASCII case, or -1.
    int IndexOf(const std::string& text) const;

    auto begin() const { return lines_.begin(); }
    auto end() const { return lines_.end(); }

private:
    std::vector<Line> lines_;
};

bool SameTextAscii(const std::string& a, const std::string& b);

inline bool SameTextAscii(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

inline int TStringList::IndexOf(const std::string& text) const {
    for (size_t i = 0; i < lines_.size(); ++i)
        if (SameTextAscii(lines_[i].Text, text)) return static_cast<int>(i);
    return -1;
}

}  // namespace kelp
