// Golden traces of the drawing tests: tests/lumgl/golden/<name>.txt. Regenerate all of
// them with
//     LUMORA_UPDATE_GOLDEN=1 ctest --test-dir <build> -R "Golden|DocsDiagram"
// and read the diff before committing: a golden is only as good as the reasoning that
// accepted it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace golden {

inline bool Updating() {
    const char* env = std::getenv("LUMORA_UPDATE_GOLDEN");
    return env && std::string(env) == "1";
}

inline void Expect(const std::string& name, const std::string& trace) {
    const std::string path = std::string(LUMORA_TEST_DATA) + "/lumgl/golden/" + name + ".txt";
    if (Updating()) {
        std::ofstream(path, std::ios::binary) << trace;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing golden " << path << " (LUMORA_UPDATE_GOLDEN=1 writes it)";
    std::stringstream buffer;
    buffer << in.rdbuf();
    EXPECT_EQ(buffer.str(), trace) << "golden " << path;
}

}  // namespace golden
