#include "tools/termsim/Termsim.Transcript.h"

#include "tools/termsim/Termsim.Wrap.h"

namespace termsim {

namespace {

constexpr std::u16string_view ResultMark = u"  \u23BF \u00A0"; // "  ⎿ " and a no-break space
constexpr std::u16string_view ResultIndent = u"     ";

void AddWrapped(std::vector<TLine>& rows, std::u16string_view first, std::u16string_view rest,
                std::u16string_view text, std::size_t columns, TTone headTone, TTone tone) {
    const std::size_t width = columns > first.size() ? columns - first.size() : 1;
    bool head = true;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(u'\n', start), text.size());
        for (std::u16string_view row : WrapText(text.substr(start, end - start), width)) {
            TLine line;
            line.Add(head ? first : rest, headTone).Add(row, tone);
            rows.push_back(std::move(line));
            head = false;
        }
        start = end + 1;
    }
}

} // namespace

std::vector<TLine> TranscriptRows(const THeader& header, const std::vector<TEntry>& entries, std::size_t columns) {
    std::vector<TLine> rows;
    rows.emplace_back();
    rows.push_back(TLine(u" \u2590\u259B\u2588\u2588\u2588\u259B\u2588", TTone::Claude)
                       .Add(u"   ")
                       .Add(u"Claude Code")
                       .Add(u" v2.1.341", TTone::Dim));
    std::u16string model = u"Opus 5.5";
    if (!header.Effort.empty()) {
        model += u" with " + header.Effort + u" effort";
    }
    rows.push_back(TLine(u"\u259D\u259C\u2588\u2588\u2588\u2588\u2588\u2588\u2580", TTone::Claude)
                       .Add(u"  ")
                       .Add(model + u" \u00B7 API Usage Billing", TTone::Dim));
    rows.push_back(TLine(u" \u259D\u259D   \u259D\u259D ", TTone::Claude).Add(u"  ").Add(header.Folder, TTone::Dim));
    for (const TEntry& entry : entries) {
        rows.emplace_back();
        switch (entry.Kind) {
        case TEntryKind::Prompt:
            AddWrapped(rows, u"\u276F ", u"  ", entry.Text, columns, TTone::Dim, TTone::Plain);
            break;
        case TEntryKind::Bash:
            AddWrapped(rows, u"! ", u"  ", entry.Text, columns, TTone::Bash, TTone::Plain);
            break;
        case TEntryKind::Answer:
            AddWrapped(rows, u"\u25CF ", u"  ", entry.Text, columns, TTone::Plain, TTone::Plain);
            break;
        case TEntryKind::Status:
            AddWrapped(rows, u"\u273B ", u"  ", entry.Text, columns, TTone::Dim, TTone::Dim);
            break;
        case TEntryKind::Notice:
            AddWrapped(rows, u"\u2237 ", u"  ", entry.Text, columns, TTone::Warning, TTone::Dim);
            break;
        case TEntryKind::ToolCall:
            AddWrapped(rows, u"  ", u"  ", entry.Text, columns, TTone::Plain, TTone::Plain);
            break;
        }
        if (!entry.Result.empty()) {
            AddWrapped(rows, ResultMark, ResultIndent, entry.Result, columns, TTone::Dim, TTone::Plain);
        }
    }
    return rows;
}

} // namespace termsim
