// Scenarios register themselves by name, so each group of scenarios lives in a
// file of its own and the driver and the build find them all.
#pragma once
#include <string>

namespace e2e {

// ARG is the driver's optional third argument (run-scenario.sh may set it).
using ScenarioFn = void (*)(const std::string& arg);

struct ScenarioRegistration {
    ScenarioRegistration(const char* name, ScenarioFn fn);
};

int RunScenario(const std::string& name, const std::string& arg);

}  // namespace e2e

// The build scans sources for KELP_E2E_SCENARIO(name, ...) and adds a test
// e2e_<name> for each, so keep one registration per line.
#define KELP_E2E_SCENARIO(name, fn) \
    static const ::e2e::ScenarioRegistration kelp_e2e_scenario_##name{#name, fn}
