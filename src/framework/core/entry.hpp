#pragma once

#include <functional>

namespace tandrel {

// Runs a program's body and turns any exception that escapes it into one line
// "<program>: <message>" on stderr and exit status 1, so that a failure never
// ends in std::terminate, an abort or a core dump.
int runReportingFailures(const char* program, const std::function<int()>& body);

} // namespace tandrel
