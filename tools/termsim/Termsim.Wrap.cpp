#include "tools/termsim/Termsim.Wrap.h"

#include <algorithm>

namespace termsim {

std::vector<std::size_t> WrapLine(std::u16string_view Line, std::size_t Width) {
    std::vector<std::size_t> starts{0};
    if (Width == 0) {
        return starts;
    }
    std::size_t rowLength = 0;
    std::size_t at = 0; // where the next word begins
    bool first = true;
    while (at <= Line.size()) {
        const std::size_t end = std::min(Line.find(u' ', at), Line.size());
        const std::size_t word = end - at;
        if (!first) {
            // The blank before this word: on a full row it starts the next one.
            if (rowLength >= Width) {
                starts.push_back(at - 1);
                rowLength = 0;
            }
            ++rowLength;
        }
        first = false;
        if (word > Width) {
            const std::size_t remaining = Width - std::min(Width, rowLength);
            const std::size_t breaksHere = 1 + (word - std::min(word, remaining + 1)) / Width;
            const std::size_t breaksNext = (word - 1) / Width;
            std::size_t placed = 0;
            if (breaksNext < breaksHere) {
                starts.push_back(at);
                rowLength = 0;
            }
            while (placed < word) {
                const std::size_t room = Width - rowLength;
                const std::size_t take = std::min(room, word - placed);
                placed += take;
                rowLength += take;
                if (placed < word) {
                    starts.push_back(at + placed);
                    rowLength = 0;
                }
            }
        } else {
            if (rowLength + word > Width && rowLength > 0 && word > 0) {
                starts.push_back(at);
                rowLength = 0;
            }
            rowLength += word;
        }
        if (end >= Line.size()) {
            break;
        }
        at = end + 1;
    }
    return starts;
}

std::vector<std::u16string_view> WrapText(std::u16string_view Text, std::size_t Width) {
    std::vector<std::u16string_view> rows;
    const std::vector<std::size_t> starts = WrapLine(Text, Width);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : Text.size();
        std::u16string_view row = Text.substr(starts[i], end - starts[i]);
        while (!row.empty() && row.back() == u' ') {
            row.remove_suffix(1);
        }
        while (!row.empty() && row.front() == u' ' && i > 0) {
            row.remove_prefix(1);
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace termsim
