#include "tools/termsim/Termsim.Draft.h"

#include "base/Base.Format.h"
#include "base/Base.Unicode.h"

#include <algorithm>

namespace termsim {

namespace {

using base::IsHighSurrogate;
using base::IsLowSurrogate;

constexpr std::u16string_view PlaceholderHead = u"[Pasted text #";

std::vector<std::u16string> SplitLines(std::u16string_view Text) {
    std::vector<std::u16string> lines(1);
    for (char16_t unit : Text) {
        if (unit == u'\n') {
            lines.emplace_back();
        } else {
            lines.back() += unit;
        }
    }
    return lines;
}

bool IsDigit(char16_t Unit) {
    return Unit >= u'0' && Unit <= u'9';
}

// Digits at Pos; their value in Value and the position after them; false when there are none.
bool ReadNumber(std::u16string_view Text, std::size_t& Pos, int& Value) {
    const std::size_t start = Pos;
    Value = 0;
    while (Pos < Text.size() && IsDigit(Text[Pos]) && Pos - start < 9) {
        Value = Value * 10 + (Text[Pos] - u'0');
        ++Pos;
    }
    return Pos > start;
}

bool IsBlank(char16_t Unit) {
    return Unit == u' ' || Unit == u'\t';
}

} // namespace

std::u16string PlaceholderText(int Id, std::size_t LineBreaks) {
    return base::Format(u"{0}{1} +{2} lines]", PlaceholderHead, Id, LineBreaks);
}

std::vector<TPlaceholder> FindPlaceholders(std::u16string_view Line) {
    std::vector<TPlaceholder> found;
    for (std::size_t start = Line.find(PlaceholderHead); start != std::u16string_view::npos;
         start = Line.find(PlaceholderHead, start + 1)) {
        std::size_t pos = start + PlaceholderHead.size();
        int id = 0;
        int lines = 0;
        if (!ReadNumber(Line, pos, id) || Line.substr(pos, 2) != u" +") {
            continue;
        }
        pos += 2;
        if (!ReadNumber(Line, pos, lines) || Line.substr(pos, 7) != u" lines]") {
            continue;
        }
        pos += 7;
        found.push_back({start, pos - start, id});
    }
    return found;
}

TDraft::TDraft(std::u16string_view Text, TCursor Cursor) : FLines(SplitLines(Text)) {
    SetCursor(Cursor);
}

TCursor TDraft::EndOf(std::u16string_view Text) {
    const std::vector<std::u16string> lines = SplitLines(Text);
    return {lines.size() - 1, lines.back().size()};
}

std::u16string TDraft::Text() const {
    std::u16string text = FLines.front();
    for (std::size_t i = 1; i < FLines.size(); ++i) {
        text += u'\n';
        text += FLines[i];
    }
    return text;
}

void TDraft::SetCursor(TCursor Cursor) {
    FGoal.reset();
    FCursor.Line = std::min(Cursor.Line, FLines.size() - 1);
    FCursor.Column = std::min(Cursor.Column, FLines[FCursor.Line].size());
    std::vector<TPlaceholder> found;
    if (const TPlaceholder* token = TokenInside(FCursor.Line, FCursor.Column, found)) {
        FCursor.Column = token->Start + token->Length;
    }
}

void TDraft::Clear() {
    FGoal.reset();
    FLines.assign(1, std::u16string());
    FCursor = {};
    FPastes.clear();
}

const TPlaceholder* TDraft::TokenInside(std::size_t Line, std::size_t Column,
                                        std::vector<TPlaceholder>& Found) const {
    Found = FindPlaceholders(FLines[Line]);
    for (const TPlaceholder& token : Found) {
        if (FPastes.contains(token.Id) && Column > token.Start && Column < token.Start + token.Length) {
            return &token;
        }
    }
    return nullptr;
}

bool TDraft::TokenEndingAt(std::size_t Line, std::size_t Column, TPlaceholder& Token) const {
    for (const TPlaceholder& candidate : FindPlaceholders(FLines[Line])) {
        if (FPastes.contains(candidate.Id) && candidate.Start + candidate.Length == Column) {
            Token = candidate;
            return true;
        }
    }
    return false;
}

bool TDraft::TokenStartingAt(std::size_t Line, std::size_t Column, TPlaceholder& Token) const {
    for (const TPlaceholder& candidate : FindPlaceholders(FLines[Line])) {
        if (FPastes.contains(candidate.Id) && candidate.Start == Column) {
            Token = candidate;
            return true;
        }
    }
    return false;
}

void TDraft::InsertPaste(int Id, std::u16string Content) {
    const std::size_t breaks = static_cast<std::size_t>(std::count(Content.begin(), Content.end(), u'\n'));
    FPastes[Id] = std::move(Content);
    Insert(PlaceholderText(Id, breaks));
}

bool TDraft::ExpandPaste(int Id) {
    FGoal.reset();
    const auto block = FPastes.find(Id);
    if (block == FPastes.end()) {
        return false;
    }
    for (std::size_t line = 0; line < FLines.size(); ++line) {
        for (const TPlaceholder& token : FindPlaceholders(FLines[line])) {
            if (token.Id != Id) {
                continue;
            }
            const std::u16string content = block->second;
            FPastes.erase(block);
            EraseInLine(line, token.Start, token.Length);
            FCursor = {line, token.Start};
            Insert(content);
            return true;
        }
    }
    return false;
}

std::u16string TDraft::SentText(std::vector<std::u16string>* Unknown) const {
    std::u16string sent;
    for (std::size_t line = 0; line < FLines.size(); ++line) {
        if (line > 0) {
            sent += u'\n';
        }
        const std::u16string& text = FLines[line];
        std::size_t at = 0;
        for (const TPlaceholder& token : FindPlaceholders(text)) {
            sent += text.substr(at, token.Start - at);
            const std::u16string_view literal = std::u16string_view(text).substr(token.Start, token.Length);
            if (const auto block = FPastes.find(token.Id); block != FPastes.end()) {
                sent += block->second;
            } else {
                sent += literal;
                if (Unknown != nullptr) {
                    Unknown->emplace_back(literal);
                }
            }
            at = token.Start + token.Length;
        }
        sent += text.substr(at);
    }
    return sent;
}

void TDraft::Insert(std::u16string_view Text) {
    FGoal.reset();
    const std::vector<std::u16string> pieces = SplitLines(Text);
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

void TDraft::EraseInLine(std::size_t Line, std::size_t Start, std::size_t Length) {
    FLines[Line].erase(Start, Length);
}

void TDraft::JoinWithNext(std::size_t Line) {
    FLines[Line] += FLines[Line + 1];
    FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(Line) + 1);
}

void TDraft::DeleteBack() {
    FGoal.reset();
    if (FCursor.Column == 0) {
        if (FCursor.Line > 0) {
            const std::size_t joinAt = FLines[FCursor.Line - 1].size();
            JoinWithNext(FCursor.Line - 1);
            FCursor = {FCursor.Line - 1, joinAt};
        }
        return;
    }
    const std::u16string& line = FLines[FCursor.Line];
    TPlaceholder token;
    std::size_t width = 1;
    if (TokenEndingAt(FCursor.Line, FCursor.Column, token)) {
        width = token.Length;
    } else if (FCursor.Column >= 2 && IsLowSurrogate(line[FCursor.Column - 1]) &&
               IsHighSurrogate(line[FCursor.Column - 2])) {
        width = 2;
    }
    EraseInLine(FCursor.Line, FCursor.Column - width, width);
    FCursor.Column -= width;
}

void TDraft::DeleteForward() {
    FGoal.reset();
    const std::u16string& line = FLines[FCursor.Line];
    if (FCursor.Column >= line.size()) {
        if (FCursor.Line + 1 < FLines.size()) {
            JoinWithNext(FCursor.Line);
        }
        return;
    }
    TPlaceholder token;
    std::size_t width = 1;
    if (TokenStartingAt(FCursor.Line, FCursor.Column, token)) {
        width = token.Length;
    } else if (FCursor.Column + 1 < line.size() && IsHighSurrogate(line[FCursor.Column]) &&
               IsLowSurrogate(line[FCursor.Column + 1])) {
        width = 2;
    }
    EraseInLine(FCursor.Line, FCursor.Column, width);
}

std::u16string TDraft::DeleteWordBack() {
    FGoal.reset();
    if (FCursor.Column == 0) {
        if (FCursor.Line == 0) {
            return {};
        }
        DeleteBack();
        return u"\n";
    }
    const std::u16string& line = FLines[FCursor.Line];
    std::size_t start = FCursor.Column;
    while (start > 0 && IsBlank(line[start - 1])) {
        --start;
    }
    while (start > 0 && !IsBlank(line[start - 1])) {
        --start;
    }
    std::vector<TPlaceholder> found;
    if (const TPlaceholder* token = TokenInside(FCursor.Line, start, found)) {
        start = token->Start;
    }
    std::u16string deleted = line.substr(start, FCursor.Column - start);
    EraseInLine(FCursor.Line, start, FCursor.Column - start);
    FCursor.Column = start;
    return deleted;
}

std::u16string TDraft::KillToLineStart(std::size_t From) {
    FGoal.reset();
    if (FCursor.Column > From) {
        std::u16string killed = FLines[FCursor.Line].substr(From, FCursor.Column - From);
        EraseInLine(FCursor.Line, From, FCursor.Column - From);
        FCursor.Column = From;
        return killed;
    }
    if (FCursor.Column == 0 && FCursor.Line > 0) {
        DeleteBack();
        return u"\n";
    }
    return {};
}

std::u16string TDraft::KillToLineEnd() {
    FGoal.reset();
    std::u16string& line = FLines[FCursor.Line];
    if (FCursor.Column < line.size()) {
        std::u16string killed = line.substr(FCursor.Column);
        line.erase(FCursor.Column);
        return killed;
    }
    if (FCursor.Line + 1 < FLines.size()) {
        JoinWithNext(FCursor.Line);
        return u"\n";
    }
    return {};
}

void TDraft::Right() {
    FGoal.reset();
    const std::u16string& line = FLines[FCursor.Line];
    if (FCursor.Column >= line.size()) {
        if (FCursor.Line + 1 < FLines.size()) {
            FCursor = {FCursor.Line + 1, 0};
        }
        return;
    }
    TPlaceholder token;
    if (TokenStartingAt(FCursor.Line, FCursor.Column, token)) {
        FCursor.Column += token.Length;
    } else {
        const bool pair = FCursor.Column + 1 < line.size() && IsHighSurrogate(line[FCursor.Column]) &&
                          IsLowSurrogate(line[FCursor.Column + 1]);
        FCursor.Column += pair ? 2 : 1;
    }
}

void TDraft::Left() {
    FGoal.reset();
    if (FCursor.Column == 0) {
        if (FCursor.Line > 0) {
            FCursor = {FCursor.Line - 1, FLines[FCursor.Line - 1].size()};
        }
        return;
    }
    const std::u16string& line = FLines[FCursor.Line];
    TPlaceholder token;
    if (TokenEndingAt(FCursor.Line, FCursor.Column, token)) {
        FCursor.Column = token.Start;
    } else {
        const bool pair = FCursor.Column >= 2 && IsLowSurrogate(line[FCursor.Column - 1]) &&
                          IsHighSurrogate(line[FCursor.Column - 2]);
        FCursor.Column -= pair ? 2 : 1;
    }
}

void TDraft::LineStart() {
    FGoal.reset();
    FCursor.Column = 0;
}

void TDraft::LineEnd() {
    FGoal.reset();
    FCursor.Column = FLines[FCursor.Line].size();
}

bool TDraft::MoveToLine(std::size_t Line) {
    const std::size_t goal = FGoal.value_or(FCursor.Column);
    FCursor.Line = Line;
    FCursor.Column = std::min(goal, FLines[Line].size());
    std::vector<TPlaceholder> found;
    if (const TPlaceholder* token = TokenInside(FCursor.Line, FCursor.Column, found)) {
        FCursor.Column = token->Start + token->Length;
    }
    FGoal = goal;
    return true;
}

bool TDraft::Up() {
    return FCursor.Line > 0 && MoveToLine(FCursor.Line - 1);
}

bool TDraft::Down() {
    return FCursor.Line + 1 < FLines.size() && MoveToLine(FCursor.Line + 1);
}

bool TDraft::BackslashBeforeCaret() const {
    return FCursor.Column > 0 && FLines[FCursor.Line][FCursor.Column - 1] == u'\\';
}

} // namespace termsim
