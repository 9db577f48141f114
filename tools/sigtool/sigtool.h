// The signature table maintainers' tool, as a function of its arguments so that tests can run it in-process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit codes: 0 done and nothing found, 1 input refused or faults found, 2 a usage error.
int RunSigtool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
