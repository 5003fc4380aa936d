#include "framework/core/entry.hpp"

#include <exception>
#include <string>

namespace tandrel {

namespace {
// A message may span lines (a library list does); the report stays one line.
std::string oneLine(const std::string& message) {
    std::string line;
    bool broken = false;
    for (char c : message) {
        if (c == '\r' || c == '\n') {
            broken = true;
        } else if (broken && c == '\t') {
        } else {
            if (broken) line += ' ';
            broken = false;
            line += c;
        }
    }
    return line;
}
} // namespace

int runReportingFailures(const char* program, const std::function<int()>& body) {
    try {
        return body();
    } catch (const std::exception& e) {
        reportFailure(program, std::string(program) + ": " + oneLine(e.what()));
    } catch (...) {
        reportFailure(program, std::string(program) + ": unknown error");
    }
    return 1;
}

} // namespace tandrel
