#include "tools/zarc/Cli.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <algorithm>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace zarc {

std::optional<std::string> Options::Value(const std::string& name) const {
    std::optional<std::string> found;
    for (const auto& [k, v] : values)
        if (k == name) found = v;  // the last one given wins
    return found;
}

bool Options::Flag(const std::string& name) const {
    return std::find(flags.begin(), flags.end(), name) != flags.end();
}

Options ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& withValue,
                     const std::vector<std::string>& flags) {
    auto in = [](const std::vector<std::string>& set, const std::string& s) {
        return std::find(set.begin(), set.end(), s) != set.end();
    };
    Options o;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            o.operands.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        if (a == "--help" || a == "-h") {
            o.help = true;
            continue;
        }
        std::string name = a, value;
        bool inlineValue = false;
        if (const size_t eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
            inlineValue = true;
        }
        if (in(withValue, name)) {
            if (!inlineValue) {
                if (i + 1 >= args.size()) throw UsageError{"option " + name + " needs a value"};
                value = args[++i];
            }
            o.values.emplace_back(name, value);
        } else if (in(flags, name) && !inlineValue) {
            o.flags.push_back(name);
        } else {
            throw UsageError{"unknown option " + a};
        }
    }
    return o;
}

int32_t KeyOption(const Options& options) {
    const auto text = options.Value("--key");
    if (!text) return 0;
    const auto key = ParseKey(*text);
    if (!key) throw UsageError{"invalid key '" + *text + "' (a 32-bit integer, decimal or 0x hex)"};
    return *key;
}

std::optional<int32_t> ParseKey(const std::string& text) {
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0') return std::nullopt;
    // Hex keys may name all 32 bits (0xFFFFFFFF is key -1).
    if (v > UINT32_MAX || v < INT32_MIN) return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(v));
}

void Error(const std::string& what, const std::string& message) {
    std::fprintf(stderr, "zarc: %s%s%s\n", what.c_str(), what.empty() ? "" : ": ", message.c_str());
}

std::string ToArchivePath(const std::string& hostPath) {
    std::string p = hostPath;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

ProgressBar::ProgressBar(int64_t totalBytes)
    : enabled_(isatty(fileno(stderr)) != 0 && totalBytes >= (1 << 20)), total_(totalBytes) {}

ProgressBar::~ProgressBar() {
    if (drawn_) std::fprintf(stderr, "\r\033[K");
}

void ProgressBar::BeginItem(const std::string& label, int64_t bytes) {
    doneBefore_ += itemBytes_;
    label_ = label;
    itemBytes_ = bytes;
    lastDrawn_ = -1;
}

kelp::TShowProgressEvent ProgressBar::Handler() {
    if (!enabled_) return nullptr;
    return [this](int32_t& percent) { Draw(percent); };
}

void ProgressBar::Draw(int32_t percent) {
    if (total_ <= 0) return;
    int64_t done = doneBefore_ + itemBytes_ * std::max(0, std::min(100, percent)) / 100;
    int overall = static_cast<int>(done * 100 / total_);
    if (overall == lastDrawn_) return;
    lastDrawn_ = overall;
    constexpr int kWidth = 30;
    std::string bar(static_cast<size_t>(kWidth * overall / 100), '#');
    bar.resize(kWidth, '.');
    std::string label = label_.size() > 40 ? "..." + label_.substr(label_.size() - 37) : label_;
    std::fprintf(stderr, "\r\033[K[%s] %3d%% %s", bar.c_str(), overall, label.c_str());
    std::fflush(stderr);
    drawn_ = true;
}

}  // namespace zarc
