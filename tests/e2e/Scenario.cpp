#include "Scenario.h"

#include <cstdio>
#include <exception>
#include <map>

#include "Driver.h"

namespace e2e {

namespace {
// A function-local table: registrations run during static initialisation.
std::map<std::string, ScenarioFn>& Table() {
    static std::map<std::string, ScenarioFn> table;
    return table;
}
}  // namespace

ScenarioRegistration::ScenarioRegistration(const char* name, ScenarioFn fn) { Table().emplace(name, fn); }

int RunScenario(const std::string& name, const std::string& arg) {
    auto it = Table().find(name);
    if (it == Table().end()) {
        std::fprintf(stderr, "unknown scenario %s\n", name.c_str());
        return 2;
    }
    try {
        it->second(arg);
    } catch (const std::exception& e) {
        std::printf("FAILED: %s\n", e.what());
        Screenshot("failure-" + name);
        return 1;
    }
    std::printf("scenario %s passed\n", name.c_str());
    return 0;
}

}  // namespace e2e
