#pragma once
// What the headless file class did, for tests: every open and read, in order.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform::headless {

struct FileAccess {
    std::string op;  // "open", "open.failed", "read"
    std::string path;
    std::uint64_t offset = 0;  // reads: where the read started
    std::size_t requested = 0;
    std::size_t received = 0;
};

std::vector<FileAccess> FileAccesses();
void ResetFileAccesses();

}  // namespace platform::headless
