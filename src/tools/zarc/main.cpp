// zarc: creates, lists, tests and extracts archives in the installer's format.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "tools/zarc/Cli.h"
#include "tools/zarc/Commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const zarc::Args&);
    const char* summary;
};

constexpr Command kCommands[] = {
    {"create", zarc::RunCreate, "create an archive from files and directories"},
    {"list", zarc::RunList, "list the entries of an archive"},
    {"test", zarc::RunTest, "decode every entry and check it, writing nothing"},
    {"extract", zarc::RunExtract, "expand entries into a directory"},
};

void PrintUsage(FILE* out) {
    std::fprintf(out,
                 "usage: zarc COMMAND [OPTIONS] ARCHIVE ...\n\n"
                 "Commands:\n");
    for (const auto& c : kCommands) std::fprintf(out, "  %-8s %s\n", c.name, c.summary);
    std::fprintf(out,
                 "\nRun 'zarc COMMAND --help' for the options of a command.\n"
                 "Exit status: 0 success, 1 an entry or the archive failed, 2 usage error.\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return zarc::kExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return zarc::kExitOk;
    }
    for (const auto& c : kCommands) {
        if (name != c.name) continue;
        zarc::Args args(argv + 2, argv + argc);
        try {
            return c.run(args);
        } catch (const zarc::UsageError& e) {
            zarc::Error(name, e.message);
            std::fprintf(stderr, "Run 'zarc %s --help' for usage.\n", c.name);
            return zarc::kExitUsage;
        } catch (const std::exception& e) {
            zarc::Error("", e.what());
            return zarc::kExitFailure;
        }
    }
    zarc::Error("", "unknown command '" + name + "'");
    PrintUsage(stderr);
    return zarc::kExitUsage;
}
