#pragma once

#include <functional>
#include <string>

namespace tandrel {

// Runs a program's body and turns any exception that escapes it into one line
// "<program>: <message>" on stderr and exit status 1, so that a failure never
// ends in std::terminate, an abort or a core dump.
int runReportingFailures(const char* program, const std::function<int()>& body);

// Shows a failure's one line where the user sees it: stderr, and on Windows a
// message box when the program has no stderr to write to (it was started
// from Explorer). One file per platform.
void reportFailure(const char* program, const std::string& line);

} // namespace tandrel
