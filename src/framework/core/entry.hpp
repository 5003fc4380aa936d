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

// Shows what a command line asked for before any window (a usage or a
// version, with status 0, on stdout) or its usage error (on stderr), and
// returns the status to exit with. On Windows, typed in a console, it is
// written to that console; started from Explorer, it shows in a message box.
int answerCommandLine(const char* program, int status, const std::string& text);

} // namespace tandrel
