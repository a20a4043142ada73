#include "tools/termsim/Termsim.Prompt.h"

#include "base/Base.Unicode.h"

#include <algorithm>
#include <array>

namespace termsim {

namespace {

using base::IsHighSurrogate;
using base::IsLowSurrogate;

constexpr std::u16string_view EffortCommand = u"/effort";
constexpr std::array<std::u16string_view, 6> EffortWords = {u"low",   u"medium", u"high",
                                                            u"xhigh", u"max",    u"auto"};

bool IsControl(char16_t unit) {
    return unit < 0x20 || unit == 0x7F;
}

// Blanks and line breaks: what Enter trims and what separates a command's words.
bool IsBlank(char16_t unit) {
    return unit == u' ' || unit == u'\t' || unit == u'\n' || unit == u'\r';
}

std::u16string_view TrimEnd(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::u16string_view TrimStart(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

std::vector<std::u16string_view> Words(std::u16string_view text) {
    std::vector<std::u16string_view> words;
    for (text = TrimStart(text); !text.empty(); text = TrimStart(text)) {
        std::size_t end = 0;
        while (end < text.size() && !IsBlank(text[end])) {
            ++end;
        }
        words.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return words;
}

std::vector<std::u16string> SplitLines(std::u16string_view text) {
    std::vector<std::u16string> lines(1);
    for (char16_t unit : text) {
        if (unit == u'\n') {
            lines.emplace_back();
        } else {
            lines.back() += unit;
        }
    }
    return lines;
}

bool IsEffortWord(std::u16string_view word) {
    return std::find(EffortWords.begin(), EffortWords.end(), word) != EffortWords.end();
}

std::u16string Joined(const std::vector<std::u16string_view>& words, std::size_t from) {
    std::u16string text;
    for (std::size_t i = from; i < words.size(); ++i) {
        if (i > from) {
            text += u' ';
        }
        text += words[i];
    }
    return text;
}

} // namespace

TPrompt::TPrompt(std::u16string_view text, TCursor cursor, bool confirmEffort)
    : FLines(SplitLines(text)), FConfirmEffort(confirmEffort) {
    FCursor.Line = std::min(cursor.Line, FLines.size() - 1);
    FCursor.Column = std::min(cursor.Column, FLines[FCursor.Line].size());
}

TCursor TPrompt::EndOf(std::u16string_view text) {
    const std::vector<std::u16string> lines = SplitLines(text);
    return {lines.size() - 1, lines.back().size()};
}

std::u16string TPrompt::Text() const {
    std::u16string text = FLines.front();
    for (std::size_t i = 1; i < FLines.size(); ++i) {
        text += u'\n';
        text += FLines[i];
    }
    return text;
}

TPromptOutcome TPrompt::Apply(const TKeyEvent& key) {
    // The confirmation question holds the keyboard: only Enter (yes) reaches it.
    if (Asking()) {
        if (key.Key != TKey::Enter) {
            return {};
        }
        FEffortLevel = std::move(FAskedLevel);
        FAskedLevel.clear();
        return {TPromptOutcome::TKind::EffortSet, FEffortLevel};
    }
    const bool chained = FKillChain;
    FKillChain = false;
    switch (key.Key) {
    case TKey::Char:
        if (!IsControl(key.Char)) {
            Insert(std::u16string_view(&key.Char, 1));
        }
        break;
    case TKey::CtrlE:
        EndOfLine();
        break;
    case TKey::CtrlU:
        FKillChain = chained;
        KillToLineStart();
        break;
    case TKey::CtrlY:
        Insert(FKillBuffer);
        break;
    case TKey::Right:
        Right();
        break;
    case TKey::Backspace:
        Backspace();
        break;
    case TKey::ShiftEnter:
        Insert(u"\n");
        break;
    case TKey::Enter:
        return Enter();
    }
    return {};
}

void TPrompt::Insert(std::u16string_view text) {
    const std::vector<std::u16string> pieces = SplitLines(text);
    std::u16string& line = FLines[FCursor.Line];
    const std::u16string tail = line.substr(FCursor.Column);
    line.erase(FCursor.Column);
    line += pieces.front();
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(FCursor.Line) + 1, pieces.begin() + 1,
                  pieces.end());
    FCursor.Line += pieces.size() - 1;
    std::u16string& last = FLines[FCursor.Line];
    FCursor.Column = last.size();
    last += tail;
}

void TPrompt::EndOfLine() {
    FCursor.Column = FLines[FCursor.Line].size();
}

void TPrompt::Right() {
    const std::u16string& line = FLines[FCursor.Line];
    if (FCursor.Column < line.size()) {
        const bool pair = FCursor.Column + 1 < line.size() && IsHighSurrogate(line[FCursor.Column]) &&
                          IsLowSurrogate(line[FCursor.Column + 1]);
        FCursor.Column += pair ? 2 : 1;
    } else if (FCursor.Line + 1 < FLines.size()) {
        FCursor = {FCursor.Line + 1, 0};
    }
}

void TPrompt::KillToLineStart() {
    std::u16string killed;
    if (FCursor.Column > 0) {
        std::u16string& line = FLines[FCursor.Line];
        killed = line.substr(0, FCursor.Column);
        line.erase(0, FCursor.Column);
        FCursor.Column = 0;
    } else if (FCursor.Line > 0) {
        killed = u"\n";
        JoinWithPreviousLine();
    } else {
        // Nothing before the cursor: the kill buffer keeps whatever it held.
        return;
    }
    // Each deletion lies in front of the previous one, so the chain grows at its front.
    FKillBuffer = FKillChain ? killed + FKillBuffer : killed;
    FKillChain = true;
}

void TPrompt::Backspace() {
    if (FCursor.Column > 0) {
        std::u16string& line = FLines[FCursor.Line];
        const bool pair = FCursor.Column >= 2 && IsLowSurrogate(line[FCursor.Column - 1]) &&
                          IsHighSurrogate(line[FCursor.Column - 2]);
        const std::size_t width = pair ? 2 : 1;
        line.erase(FCursor.Column - width, width);
        FCursor.Column -= width;
    } else if (FCursor.Line > 0) {
        JoinWithPreviousLine();
    }
}

void TPrompt::JoinWithPreviousLine() {
    const std::size_t joinAt = FLines[FCursor.Line - 1].size();
    FLines[FCursor.Line - 1] += FLines[FCursor.Line];
    FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(FCursor.Line));
    FCursor = {FCursor.Line - 1, joinAt};
}

TPromptOutcome TPrompt::Enter() {
    std::u16string& last = FLines.back();
    if (!last.empty() && last.back() == u'\\') {
        last.pop_back();
        if (FCursor.Line + 1 == FLines.size()) {
            FCursor.Column = std::min(FCursor.Column, last.size());
        }
        Insert(u"\n");
        return {};
    }
    const std::u16string text = Text();
    const std::u16string_view sent = TrimEnd(text);
    if (sent.empty()) {
        return {};
    }
    FLines.assign(1, std::u16string());
    FCursor = {};
    const std::u16string_view command = TrimStart(sent);
    if (command.starts_with(u'/')) {
        return RunCommand(command);
    }
    return {TPromptOutcome::TKind::Submitted, std::u16string(sent)};
}

TPromptOutcome TPrompt::RunCommand(std::u16string_view command) {
    const std::vector<std::u16string_view> words = Words(command);
    if (words.front() != EffortCommand) {
        return {TPromptOutcome::TKind::CommandFailed, u"Unknown command: " + std::u16string(words.front())};
    }
    if (words.size() != 2 || !IsEffortWord(words[1])) {
        return {TPromptOutcome::TKind::CommandFailed, u"Unknown option: " + Joined(words, 1)};
    }
    if (FConfirmEffort) {
        FAskedLevel = std::u16string(words[1]);
        return {TPromptOutcome::TKind::Question, EffortQuestion};
    }
    FEffortLevel = std::u16string(words[1]);
    return {TPromptOutcome::TKind::EffortSet, FEffortLevel};
}

} // namespace termsim
