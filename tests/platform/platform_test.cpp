// What the platform layer gets from the system: run natively and, cross-built,
// under Wine, where each case meets the Windows half (LoadLibraryA and
// FormatMessageA, GetLocaleInfoA, the standard error handle).

#include "binding/util/exception.hpp"
#include "binding/util/sharedlib.hpp"
#include "framework/core/entry.hpp"
#include "framework/ui/i18n.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace tandrel {
namespace {

// Names without an ending: LoadLibraryA adds ".dll", dlopen takes them as they are.
TEST(PlatformLoader, NamesEachFailedCandidateWithTheSystemsOwnTextOnOneLine) {
    SharedLib lib;
    try {
        lib.load({"tandrel-missing-a", "tandrel-missing-b"});
        FAIL() << "expected SharedLibLoadException";
    } catch (const SharedLibLoadException& e) {
        const std::string m = e.what();
        const std::string head = "Failed to load one or more shared libraries:\n\ttandrel-missing-a - ";
        ASSERT_EQ(m.rfind(head, 0), 0u) << m;
        const auto second = m.find("\n\ttandrel-missing-b - ");
        ASSERT_NE(second, std::string::npos) << m;
        for (const std::string& text : {m.substr(head.size(), second - head.size()),
                                        m.substr(second + std::string("\n\ttandrel-missing-b - ").size())}) {
            SCOPED_TRACE(text);
            // The system's own text, without the line break Windows ends it with.
            EXPECT_FALSE(text.empty());
            EXPECT_NE(text, "Unknown");
            EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
            EXPECT_NE(text.back(), ' ');
        }
    }
    EXPECT_FALSE(lib.isLoaded());
}

// scripts/test-windows and the native suite start this program with the
// environment of a German user (LC_ALL); Wine hands it to Windows' locale.
TEST(PlatformLocale, TheUsersLanguageAndCountryNameTheLocale) {
    EXPECT_EQ(systemLocaleName(), "de_DE");
    EXPECT_EQ(localeName, "de_DE");
}

TEST(PlatformEntry, AFailureIsOneLineOnStandardErrorAndStatus1) {
    ::testing::internal::CaptureStderr();
    const int status = runReportingFailures("prog", []() -> int { throw std::runtime_error("first\n\tsecond"); });
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "prog: first second\n");
    EXPECT_EQ(status, 1);
}

} // namespace
} // namespace tandrel
