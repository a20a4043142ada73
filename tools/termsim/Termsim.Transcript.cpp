#include "tools/termsim/Termsim.Transcript.h"

#include "tools/termsim/Termsim.Wrap.h"

namespace termsim {

namespace {

constexpr std::u16string_view ResultMark = u"  \u23BF \u00A0"; // "  ⎿ " and a no-break space
constexpr std::u16string_view ResultIndent = u"     ";

void AddWrapped(std::vector<TLine>& Rows, std::u16string_view First, std::u16string_view Rest,
                std::u16string_view Text, std::size_t Columns, TTone HeadTone, TTone Tone) {
    const std::size_t width = Columns > First.size() ? Columns - First.size() : 1;
    bool head = true;
    for (std::size_t start = 0; start <= Text.size();) {
        const std::size_t end = std::min(Text.find(u'\n', start), Text.size());
        for (std::u16string_view row : WrapText(Text.substr(start, end - start), width)) {
            TLine line;
            line.Add(head ? First : Rest, HeadTone).Add(row, Tone);
            Rows.push_back(std::move(line));
            head = false;
        }
        start = end + 1;
    }
}

} // namespace

std::vector<TLine> TranscriptRows(const THeader& Header, const std::vector<TEntry>& Entries, std::size_t Columns) {
    std::vector<TLine> rows;
    rows.emplace_back();
    rows.push_back(TLine(u" \u2590\u259B\u2588\u2588\u2588\u259B\u2588", TTone::Claude)
                       .Add(u"   ")
                       .Add(u"Claude Code")
                       .Add(u" v2.1.341", TTone::Dim));
    std::u16string model = u"Opus 5.5";
    if (!Header.Effort.empty()) {
        model += u" with " + Header.Effort + u" effort";
    }
    rows.push_back(TLine(u"\u259D\u259C\u2588\u2588\u2588\u2588\u2588\u2588\u2580", TTone::Claude)
                       .Add(u"  ")
                       .Add(model + u" \u00B7 API Usage Billing", TTone::Dim));
    rows.push_back(TLine(u" \u259D\u259D   \u259D\u259D ", TTone::Claude).Add(u"  ").Add(Header.Folder, TTone::Dim));
    for (const TEntry& entry : Entries) {
        rows.emplace_back();
        switch (entry.Kind) {
        case TEntryKind::Prompt:
            AddWrapped(rows, u"\u276F ", u"  ", entry.Text, Columns, TTone::Dim, TTone::Plain);
            break;
        case TEntryKind::Bash:
            AddWrapped(rows, u"! ", u"  ", entry.Text, Columns, TTone::Bash, TTone::Plain);
            break;
        case TEntryKind::Answer:
            AddWrapped(rows, u"\u25CF ", u"  ", entry.Text, Columns, TTone::Plain, TTone::Plain);
            break;
        case TEntryKind::Status:
            AddWrapped(rows, u"\u273B ", u"  ", entry.Text, Columns, TTone::Dim, TTone::Dim);
            break;
        case TEntryKind::Notice:
            AddWrapped(rows, u"\u2237 ", u"  ", entry.Text, Columns, TTone::Warning, TTone::Dim);
            break;
        case TEntryKind::ToolCall:
            AddWrapped(rows, u"  ", u"  ", entry.Text, Columns, TTone::Plain, TTone::Plain);
            break;
        }
        if (!entry.Result.empty()) {
            AddWrapped(rows, ResultMark, ResultIndent, entry.Result, Columns, TTone::Dim, TTone::Plain);
        }
    }
    return rows;
}

} // namespace termsim
