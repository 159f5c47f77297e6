#include "support/RunProgram.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/ArchiveFixture.h"

namespace kelp::test {

namespace {
std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    q += '\'';
    return q;
}
std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}
}  // namespace

ProgramResult RunProgram(const std::string& exe, const std::vector<std::string>& args, const std::string& cwd) {
    TempDir capture;
    std::string cmd;
    if (!cwd.empty()) {
        cmd += "cd ";
        cmd += Quote(cwd);
        cmd += " && ";
    }
    cmd += Quote(exe);
    for (const auto& a : args) {
        cmd += ' ';
        cmd += Quote(a);
    }
    cmd += " >";
    cmd += Quote((capture.Path() / "out").string());
    cmd += " 2>";
    cmd += Quote((capture.Path() / "err").string());
    cmd += " </dev/null";
    ProgramResult r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = Slurp(capture.Path() / "out");
    r.err = Slurp(capture.Path() / "err");
    return r;
}

}  // namespace kelp::test
