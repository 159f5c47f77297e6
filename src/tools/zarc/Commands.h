// The zarc commands; each takes the arguments after its name and returns the exit status.
#pragma once
#include <string>
#include <vector>

namespace zarc {

using Args = std::vector<std::string>;

int RunList(const Args& args);
int RunTest(const Args& args);
int RunExtract(const Args& args);
int RunCreate(const Args& args);

}  // namespace zarc
