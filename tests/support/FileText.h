#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace kestrum::test {

// The whole file, byte for byte; empty when it cannot be read.
inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace kestrum::test
