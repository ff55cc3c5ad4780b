// The inputs of the benchmarks, made in memory: the largest file the reader
// accepts and the worst cases of the duplicate pass.
#pragma once

#include <string>

namespace nm::bench {

inline constexpr int LargestEntryLines = 32767;

// 32767 entry lines: about 2000 shell commands, the rest aliases of which
// about a third repeat an earlier name (half of those with another command).
inline std::string LargestFile() {
    std::string text = "; the largest file the editor reads\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "SH" + std::to_string(i) + ", START PROGRAM" + std::to_string(i) + ", 1,*Prompt " +
                std::to_string(i) + ",\r\n";
    for (int i = 0; i < LargestEntryLines - 2000; ++i) {
        const int name = i % 3 == 2 ? i - 1 : i;
        const int command = i % 6 == 5 ? i : name;
        text += "A" + std::to_string(name) + ",  *COMMAND" + std::to_string(command) + "\r\n";
    }
    return text;
}

} // namespace nm::bench
