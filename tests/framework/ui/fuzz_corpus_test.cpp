#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Every saved fuzzer input still runs cleanly through the fuzzer's own entry.
TEST(FuzzCorpus, ReplaysWithoutFailure) {
    std::size_t replayed = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(TANDREL_SOURCE_DIR "/tests/framework/ui/fuzz/corpus")) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size()), 0);
        ++replayed;
    }
    EXPECT_GE(replayed, 5u);
}
