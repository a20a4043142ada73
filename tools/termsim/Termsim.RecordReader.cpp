#include "tools/termsim/Termsim.RecordReader.h"

#include "base/Base.Unicode.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <stdexcept>
#include <utility>

namespace termsim {

namespace {

std::optional<unsigned> HexDigit(char16_t Unit) {
    if (Unit >= u'0' && Unit <= u'9') {
        return Unit - u'0';
    }
    if (Unit >= u'A' && Unit <= u'F') {
        return Unit - u'A' + 10;
    }
    if (Unit >= u'a' && Unit <= u'f') {
        return Unit - u'a' + 10;
    }
    return std::nullopt;
}

// Walks one line from left to right; every Read* consumes what it returns.
class TScanner {
public:
    explicit TScanner(std::u16string_view Text) : FRest(Text) {}

    bool AtEnd() const { return FRest.empty(); }

    bool Skip(std::u16string_view Literal) {
        if (!FRest.starts_with(Literal)) {
            return false;
        }
        FRest.remove_prefix(Literal.size());
        return true;
    }

    // Up to the next blank or the end.
    std::u16string_view ReadWord() {
        const std::size_t end = std::min(FRest.find(u' '), FRest.size());
        const std::u16string_view word = FRest.substr(0, end);
        FRest.remove_prefix(end);
        return word;
    }

    std::optional<std::u16string> ReadQuoted() {
        if (!Skip(u"\"")) {
            return std::nullopt;
        }
        std::size_t end = 0;
        while (end < FRest.size() && FRest[end] != u'"') {
            end += FRest[end] == u'\\' ? 2 : 1;
        }
        if (end >= FRest.size()) {
            return std::nullopt;
        }
        std::optional<std::u16string> text = UnescapeText(FRest.substr(0, end));
        FRest.remove_prefix(end + 1);
        return text;
    }

    template <typename TNumber> std::optional<TNumber> ReadNumber(int Base) {
        const std::string digits = base::Utf16ToUtf8(ReadDigits());
        TNumber value{};
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, Base);
        if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size()) {
            return std::nullopt;
        }
        return value;
    }

private:
    std::u16string_view ReadDigits() {
        std::size_t end = 0;
        while (end < FRest.size() && HexDigit(FRest[end])) {
            ++end;
        }
        const std::u16string_view digits = FRest.substr(0, end);
        FRest.remove_prefix(end);
        return digits;
    }

    std::u16string_view FRest;
};

std::optional<TRecordEvent> ParseReady(TScanner& In) {
    TReadyEvent ready;
    if (!In.Skip(u" window=0x")) {
        return std::nullopt;
    }
    const auto window = In.ReadNumber<std::uint64_t>(16);
    if (!window || !In.Skip(u" pid=")) {
        return std::nullopt;
    }
    const auto pid = In.ReadNumber<std::uint32_t>(10);
    if (!pid) {
        return std::nullopt;
    }
    return TReadyEvent{*window, *pid};
}

std::optional<TRecordEvent> ParseKey(TScanner& In) {
    if (!In.Skip(u" ")) {
        return std::nullopt;
    }
    if (In.Skip(u"char ")) {
        const std::optional<std::u16string> text = In.ReadQuoted();
        if (!text || text->size() != 1) {
            return std::nullopt;
        }
        return TKeyEvent{TKey::Char, text->front()};
    }
    const std::optional<TKeyEvent> key = KeyFromName(In.ReadWord());
    return key ? std::optional<TRecordEvent>(*key) : std::nullopt;
}

template <typename TEnum, std::size_t N>
std::optional<TEnum> NamedValue(std::u16string_view Word, const std::array<TEnum, N>& Values,
                                std::u16string_view (*Name)(TEnum)) {
    for (TEnum value : Values) {
        if (Name(value) == Word) {
            return value;
        }
    }
    return std::nullopt;
}

constexpr std::array<TInputMode, 2> Modes = {TInputMode::Normal, TInputMode::Bash};
constexpr std::array<TVimMode, 3> VimModes = {TVimMode::Off, TVimMode::Insert, TVimMode::Normal};
constexpr std::array<TView, 9> Views = {TView::Prompt,  TView::Question,      TView::Permission,
                                        TView::ModelPicker, TView::EffortPicker, TView::Config,
                                        TView::HistorySearch, TView::Rewind,   TView::Shell};

std::optional<TRecordEvent> ParsePrompt(TScanner& In) {
    TPromptState state;
    if (!In.Skip(u" ")) {
        return std::nullopt;
    }
    std::optional<std::u16string> text = In.ReadQuoted();
    if (!text || !In.Skip(u" cursor=")) {
        return std::nullopt;
    }
    const auto line = In.ReadNumber<std::size_t>(10);
    if (!line || !In.Skip(u",")) {
        return std::nullopt;
    }
    const auto column = In.ReadNumber<std::size_t>(10);
    if (!column || !In.Skip(u" kill=")) {
        return std::nullopt;
    }
    std::optional<std::u16string> kill = In.ReadQuoted();
    if (!kill) {
        return std::nullopt;
    }
    state.Text = std::move(*text);
    state.Cursor = {*line, *column};
    state.Kill = std::move(*kill);
    // The optional fields, in the order they are written.
    if (In.Skip(u" mode=")) {
        const auto mode = NamedValue(In.ReadWord(), Modes, ModeName);
        if (!mode) {
            return std::nullopt;
        }
        state.Mode = *mode;
    }
    if (In.Skip(u" vim=")) {
        const auto vim = NamedValue(In.ReadWord(), VimModes, VimName);
        if (!vim || *vim == TVimMode::Off) {
            return std::nullopt;
        }
        state.Vim = *vim;
    }
    if (In.Skip(u" stash=")) {
        state.Stash = In.ReadQuoted();
        if (!state.Stash) {
            return std::nullopt;
        }
    }
    if (In.Skip(u" view=")) {
        const auto view = NamedValue(In.ReadWord(), Views, ViewName);
        if (!view) {
            return std::nullopt;
        }
        state.View = *view;
    }
    return state;
}

std::optional<std::u16string> ParseQuotedArgument(TScanner& In) {
    if (!In.Skip(u" ")) {
        return std::nullopt;
    }
    return In.ReadQuoted();
}

// An event whose only argument is quoted text.
template <typename TEvent> std::optional<TRecordEvent> QuotedEvent(TScanner& In) {
    std::optional<std::u16string> text = ParseQuotedArgument(In);
    return text ? std::optional<TRecordEvent>(TEvent{std::move(*text)}) : std::nullopt;
}

std::optional<TRecordEvent> ParseEvent(TScanner& In) {
    const std::u16string_view kind = In.ReadWord();
    if (kind == u"ready") {
        return ParseReady(In);
    }
    if (kind == u"key") {
        return ParseKey(In);
    }
    if (kind == u"prompt") {
        return ParsePrompt(In);
    }
    if (kind == u"submitted") {
        std::optional<std::u16string> text = ParseQuotedArgument(In);
        if (!text) {
            return std::nullopt;
        }
        TSubmittedEvent submitted{std::move(*text)};
        if (In.Skip(u" mode=")) {
            const auto mode = NamedValue(In.ReadWord(), Modes, ModeName);
            if (!mode) {
                return std::nullopt;
            }
            submitted.Mode = *mode;
        }
        return submitted;
    }
    if (kind == u"question") {
        std::optional<std::u16string> text = ParseQuotedArgument(In);
        if (!text) {
            return std::nullopt;
        }
        TQuestionEvent question{std::move(*text)};
        if (In.Skip(u" level=")) {
            question.Level = std::u16string(In.ReadWord());
        }
        return question;
    }
    if (kind == u"failed") {
        return QuotedEvent<TFailedEvent>(In);
    }
    if (kind == u"approved") {
        return QuotedEvent<TApprovedEvent>(In);
    }
    if (kind == u"declined") {
        return QuotedEvent<TDeclinedEvent>(In);
    }
    if (kind == u"ran") {
        return QuotedEvent<TRanEvent>(In);
    }
    if (kind == u"command") {
        return QuotedEvent<TCommandEvent>(In);
    }
    if (kind == u"unexpanded") {
        return QuotedEvent<TUnexpandedEvent>(In);
    }
    if (kind == u"cleared") {
        return QuotedEvent<TClearedEvent>(In);
    }
    if (kind == u"stashed") {
        return QuotedEvent<TStashedEvent>(In);
    }
    if (kind == u"unstashed") {
        return QuotedEvent<TUnstashedEvent>(In);
    }
    if (kind == u"pasted") {
        return QuotedEvent<TPastedEvent>(In);
    }
    if (kind == u"stash" && In.Skip(u" lost")) {
        return QuotedEvent<TStashLostEvent>(In);
    }
    if (kind == u"picker" && In.Skip(u" saved ")) {
        TPickerSavedEvent saved{std::u16string(In.ReadWord())};
        std::optional<std::u16string> choice = ParseQuotedArgument(In);
        if (saved.Picker.empty() || !choice) {
            return std::nullopt;
        }
        saved.Choice = std::move(*choice);
        return saved;
    }
    if (kind == u"interrupted") {
        return TInterruptedEvent{};
    }
    if (In.Skip(u" ")) {
        const std::u16string_view word = In.ReadWord();
        if (kind == u"effort" && !word.empty()) {
            return TEffortEvent{std::u16string(word)};
        }
        if (kind == u"answered" && (word == u"yes" || word == u"no")) {
            return TAnsweredEvent{word == u"yes"};
        }
        if (kind == u"turn" && (word == u"started" || word == u"done")) {
            return TTurnEvent{word == u"started"};
        }
        if (kind == u"mode") {
            const auto mode = NamedValue(word, Modes, ModeName);
            return mode ? std::optional<TRecordEvent>(TModeEvent{*mode}) : std::nullopt;
        }
        if (kind == u"vim") {
            const auto vim = NamedValue(word, VimModes, VimName);
            return vim && *vim != TVimMode::Off ? std::optional<TRecordEvent>(TVimEvent{*vim}) : std::nullopt;
        }
        if (kind == u"view") {
            const auto view = NamedValue(word, Views, ViewName);
            return view ? std::optional<TRecordEvent>(TViewEvent{*view}) : std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::u16string> UnescapeText(std::u16string_view Escaped) {
    std::u16string text;
    for (std::size_t i = 0; i < Escaped.size(); ++i) {
        if (Escaped[i] != u'\\') {
            text += Escaped[i];
            continue;
        }
        if (++i >= Escaped.size()) {
            return std::nullopt;
        }
        switch (Escaped[i]) {
        case u'\\':
        case u'"':
            text += Escaped[i];
            break;
        case u'n':
            text += u'\n';
            break;
        case u'r':
            text += u'\r';
            break;
        case u't':
            text += u'\t';
            break;
        case u'u': {
            if (i + 4 >= Escaped.size()) {
                return std::nullopt;
            }
            unsigned unit = 0;
            for (std::size_t k = 1; k <= 4; ++k) {
                const std::optional<unsigned> digit = HexDigit(Escaped[i + k]);
                if (!digit) {
                    return std::nullopt;
                }
                unit = unit * 16 + *digit;
            }
            text += static_cast<char16_t>(unit);
            i += 4;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return text;
}

std::optional<TRecordEvent> ParseRecordLine(std::string_view Line) {
    const std::u16string text = base::Utf8ToUtf16(Line);
    TScanner in(text);
    std::optional<TRecordEvent> event = ParseEvent(in);
    if (!event || !in.AtEnd()) {
        return std::nullopt;
    }
    return event;
}

std::vector<TRecordEvent> ParseRecord(std::string_view Content) {
    std::vector<TRecordEvent> events;
    std::size_t start = 0;
    for (std::size_t end = Content.find('\n'); end != std::string_view::npos;
         start = end + 1, end = Content.find('\n', start)) {
        const std::string_view line = Content.substr(start, end - start);
        std::optional<TRecordEvent> event = ParseRecordLine(line);
        if (!event) {
            throw std::runtime_error("termsim record: unreadable line: " + std::string(line));
        }
        events.push_back(std::move(*event));
    }
    return events;
}

} // namespace termsim
