// Runs a program with arguments and captures its exit status and output.
#pragma once
#include <string>
#include <vector>

namespace kelp::test {

struct ProgramResult {
    int status = -1;
    std::string out;
    std::string err;
};

ProgramResult RunProgram(const std::string& exe, const std::vector<std::string>& args, const std::string& cwd = "");

}  // namespace kelp::test
