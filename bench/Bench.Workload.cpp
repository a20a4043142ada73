#include "bench/Bench.Workload.h"

#include <array>
#include <random>

namespace bench {

TWorkload::TWorkload() {
    static const std::array<const char*, 24> words = {
        "Hotkey", "pressed:", "sending",   "/effort",  "high",     "to",
        "ConsoleWindowClass", "(pid", "4242)", "target", "check", "passed",
        "refused", "integrity", "level", "medium", "burst", "phase",
        "clear", "Ctrl+U", "restored", "prompt.", "window", "CASCADIA_HOSTING_WINDOW_CLASS"};
    std::mt19937 random(20260101);
    std::uniform_int_distribution<int> length(40, 120);
    std::uniform_int_distribution<std::size_t> word(0, words.size() - 1);
    // Mostly routine lines, a few warnings and errors.
    std::discrete_distribution<int> level({30, 10, 10, 45, 3, 1.5, 0.5});
    Msgs.reserve(LineCount);
    Utf8.reserve(LineCount);
    Levels.reserve(LineCount);
    for (int i = 0; i < LineCount; ++i) {
        const auto target = static_cast<std::size_t>(length(random));
        std::string text;
        while (text.size() < target) {
            text += words[word(random)];
            text += ' ';
        }
        text.resize(target);
        Utf8.push_back(text);
        Msgs.emplace_back(text.begin(), text.end());
        Utf16Bytes += target * sizeof(char16_t);
        Levels.push_back(static_cast<orvel::TLogVerbLvl>(level(random)));
    }
}

const TWorkload& Work() {
    static const TWorkload work;
    return work;
}

} // namespace bench
