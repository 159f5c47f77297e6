// Shared pieces of the zarc commands: option parsing, messages, progress.
#pragma once
#include <cstdint>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "archive/codec/CodecState.h"

namespace zarc {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Thrown for bad command lines; main prints it with the command's usage hint.
struct UsageError {
    std::string message;
};

// A command line split into options and operands. Options take the forms
// "-C DIR", "--key N" and "--key=N"; "--" ends the options.
struct Options {
    std::vector<std::string> operands;
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::string> flags;
    bool help = false;

    std::optional<std::string> Value(const std::string& name) const;
    bool Flag(const std::string& name) const;
};

// Raises UsageError for an unknown option or a missing value.
Options ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& withValue,
                     const std::vector<std::string>& flags);

// The --key option, or 0.
int32_t KeyOption(const Options& options);

// Parses a signed 32-bit key: decimal, or hex with 0x; negative values allowed.
std::optional<int32_t> ParseKey(const std::string& text);

// "zarc: <what>: <message>" on stderr.
void Error(const std::string& what, const std::string& message);

// Host path to the archive's backslash form (what the component works with).
std::string ToArchivePath(const std::string& hostPath);

// A one-line progress bar on stderr, drawn only when stderr is a terminal.
class ProgressBar {
public:
    explicit ProgressBar(int64_t totalBytes);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Starts an item of `bytes` bytes whose progress arrives as percentages.
    // Starts the next item (the previous one counts as done) of `bytes` bytes.
    void BeginItem(const std::string& label, int64_t bytes);
    // The handler that draws an item's percentages; null when nothing is drawn.
    kelp::TShowProgressEvent Handler();

private:
    void Draw(int32_t percent);
    bool enabled_;
    int64_t total_;
    int64_t doneBefore_ = 0;
    int64_t itemBytes_ = 0;
    std::string label_;
    int lastDrawn_ = -1;
    bool drawn_ = false;
};

}  // namespace zarc
