// What a fuzz target does on a finding that no sanitizer sees by itself:
// names it and aborts, which both libFuzzer and the replay count as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace fuzz_support {

[[noreturn]] inline void Finding(const char* what) {
    std::fprintf(stderr, "FINDING: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

inline void Require(bool condition, const char* what) {
    if (!condition) Finding(what);
}

}  // namespace fuzz_support
