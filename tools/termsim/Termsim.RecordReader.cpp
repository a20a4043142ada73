#include "tools/termsim/Termsim.RecordReader.h"

#include "base/Base.Unicode.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <stdexcept>
#include <utility>

namespace termsim {

namespace {

std::optional<unsigned> HexDigit(char16_t unit) {
    if (unit >= u'0' && unit <= u'9') {
        return unit - u'0';
    }
    if (unit >= u'A' && unit <= u'F') {
        return unit - u'A' + 10;
    }
    if (unit >= u'a' && unit <= u'f') {
        return unit - u'a' + 10;
    }
    return std::nullopt;
}

// Walks one line from left to right; every Read* consumes what it returns.
class TScanner {
public:
    explicit TScanner(std::u16string_view text) : FRest(text) {}

    bool AtEnd() const { return FRest.empty(); }

    bool Skip(std::u16string_view literal) {
        if (!FRest.starts_with(literal)) {
            return false;
        }
        FRest.remove_prefix(literal.size());
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

    template <typename TNumber> std::optional<TNumber> ReadNumber(int base) {
        const std::string digits = base::Utf16ToUtf8(ReadDigits());
        TNumber value{};
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
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

std::optional<TRecordEvent> ParseReady(TScanner& in) {
    TReadyEvent ready;
    if (!in.Skip(u" window=0x")) {
        return std::nullopt;
    }
    const auto window = in.ReadNumber<std::uint64_t>(16);
    if (!window || !in.Skip(u" pid=")) {
        return std::nullopt;
    }
    const auto pid = in.ReadNumber<std::uint32_t>(10);
    if (!pid) {
        return std::nullopt;
    }
    return TReadyEvent{*window, *pid};
}

std::optional<TRecordEvent> ParseKey(TScanner& in) {
    if (!in.Skip(u" ")) {
        return std::nullopt;
    }
    if (in.Skip(u"char ")) {
        const std::optional<std::u16string> text = in.ReadQuoted();
        if (!text || text->size() != 1) {
            return std::nullopt;
        }
        return TKeyEvent{TKey::Char, text->front()};
    }
    const std::optional<TKeyEvent> key = KeyFromName(in.ReadWord());
    return key ? std::optional<TRecordEvent>(*key) : std::nullopt;
}

template <typename TEnum, std::size_t N>
std::optional<TEnum> NamedValue(std::u16string_view word, const std::array<TEnum, N>& values,
                                std::u16string_view (*name)(TEnum)) {
    for (TEnum value : values) {
        if (name(value) == word) {
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

std::optional<TRecordEvent> ParsePrompt(TScanner& in) {
    TPromptState state;
    if (!in.Skip(u" ")) {
        return std::nullopt;
    }
    std::optional<std::u16string> text = in.ReadQuoted();
    if (!text || !in.Skip(u" cursor=")) {
        return std::nullopt;
    }
    const auto line = in.ReadNumber<std::size_t>(10);
    if (!line || !in.Skip(u",")) {
        return std::nullopt;
    }
    const auto column = in.ReadNumber<std::size_t>(10);
    if (!column || !in.Skip(u" kill=")) {
        return std::nullopt;
    }
    std::optional<std::u16string> kill = in.ReadQuoted();
    if (!kill) {
        return std::nullopt;
    }
    state.Text = std::move(*text);
    state.Cursor = {*line, *column};
    state.Kill = std::move(*kill);
    // The optional fields, in the order they are written.
    if (in.Skip(u" mode=")) {
        const auto mode = NamedValue(in.ReadWord(), Modes, ModeName);
        if (!mode) {
            return std::nullopt;
        }
        state.Mode = *mode;
    }
    if (in.Skip(u" vim=")) {
        const auto vim = NamedValue(in.ReadWord(), VimModes, VimName);
        if (!vim || *vim == TVimMode::Off) {
            return std::nullopt;
        }
        state.Vim = *vim;
    }
    if (in.Skip(u" stash=")) {
        state.Stash = in.ReadQuoted();
        if (!state.Stash) {
            return std::nullopt;
        }
    }
    if (in.Skip(u" view=")) {
        const auto view = NamedValue(in.ReadWord(), Views, ViewName);
        if (!view) {
            return std::nullopt;
        }
        state.View = *view;
    }
    return state;
}

std::optional<std::u16string> ParseQuotedArgument(TScanner& in) {
    if (!in.Skip(u" ")) {
        return std::nullopt;
    }
    return in.ReadQuoted();
}

// An event whose only argument is quoted text.
template <typename TEvent> std::optional<TRecordEvent> QuotedEvent(TScanner& in) {
    std::optional<std::u16string> text = ParseQuotedArgument(in);
    return text ? std::optional<TRecordEvent>(TEvent{std::move(*text)}) : std::nullopt;
}

std::optional<TRecordEvent> ParseEvent(TScanner& in) {
    const std::u16string_view kind = in.ReadWord();
    if (kind == u"ready") {
        return ParseReady(in);
    }
    if (kind == u"key") {
        return ParseKey(in);
    }
    if (kind == u"prompt") {
        return ParsePrompt(in);
    }
    if (kind == u"submitted") {
        std::optional<std::u16string> text = ParseQuotedArgument(in);
        if (!text) {
            return std::nullopt;
        }
        TSubmittedEvent submitted{std::move(*text)};
        if (in.Skip(u" mode=")) {
            const auto mode = NamedValue(in.ReadWord(), Modes, ModeName);
            if (!mode) {
                return std::nullopt;
            }
            submitted.Mode = *mode;
        }
        return submitted;
    }
    if (kind == u"question") {
        std::optional<std::u16string> text = ParseQuotedArgument(in);
        if (!text) {
            return std::nullopt;
        }
        TQuestionEvent question{std::move(*text)};
        if (in.Skip(u" level=")) {
            question.Level = std::u16string(in.ReadWord());
        }
        return question;
    }
    if (kind == u"failed") {
        return QuotedEvent<TFailedEvent>(in);
    }
    if (kind == u"approved") {
        return QuotedEvent<TApprovedEvent>(in);
    }
    if (kind == u"declined") {
        return QuotedEvent<TDeclinedEvent>(in);
    }
    if (kind == u"ran") {
        return QuotedEvent<TRanEvent>(in);
    }
    if (kind == u"command") {
        return QuotedEvent<TCommandEvent>(in);
    }
    if (kind == u"unexpanded") {
        return QuotedEvent<TUnexpandedEvent>(in);
    }
    if (kind == u"cleared") {
        return QuotedEvent<TClearedEvent>(in);
    }
    if (kind == u"stashed") {
        return QuotedEvent<TStashedEvent>(in);
    }
    if (kind == u"unstashed") {
        return QuotedEvent<TUnstashedEvent>(in);
    }
    if (kind == u"pasted") {
        return QuotedEvent<TPastedEvent>(in);
    }
    if (kind == u"stash" && in.Skip(u" lost")) {
        return QuotedEvent<TStashLostEvent>(in);
    }
    if (kind == u"picker" && in.Skip(u" saved ")) {
        TPickerSavedEvent saved{std::u16string(in.ReadWord())};
        std::optional<std::u16string> choice = ParseQuotedArgument(in);
        if (saved.Picker.empty() || !choice) {
            return std::nullopt;
        }
        saved.Choice = std::move(*choice);
        return saved;
    }
    if (kind == u"interrupted") {
        return TInterruptedEvent{};
    }
    if (in.Skip(u" ")) {
        const std::u16string_view word = in.ReadWord();
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

std::optional<std::u16string> UnescapeText(std::u16string_view escaped) {
    std::u16string text;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != u'\\') {
            text += escaped[i];
            continue;
        }
        if (++i >= escaped.size()) {
            return std::nullopt;
        }
        switch (escaped[i]) {
        case u'\\':
        case u'"':
            text += escaped[i];
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
            if (i + 4 >= escaped.size()) {
                return std::nullopt;
            }
            unsigned unit = 0;
            for (std::size_t k = 1; k <= 4; ++k) {
                const std::optional<unsigned> digit = HexDigit(escaped[i + k]);
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

std::optional<TRecordEvent> ParseRecordLine(std::string_view line) {
    const std::u16string text = base::Utf8ToUtf16(line);
    TScanner in(text);
    std::optional<TRecordEvent> event = ParseEvent(in);
    if (!event || !in.AtEnd()) {
        return std::nullopt;
    }
    return event;
}

std::vector<TRecordEvent> ParseRecord(std::string_view content) {
    std::vector<TRecordEvent> events;
    std::size_t start = 0;
    for (std::size_t end = content.find('\n'); end != std::string_view::npos;
         start = end + 1, end = content.find('\n', start)) {
        const std::string_view line = content.substr(start, end - start);
        std::optional<TRecordEvent> event = ParseRecordLine(line);
        if (!event) {
            throw std::runtime_error("termsim record: unreadable line: " + std::string(line));
        }
        events.push_back(std::move(*event));
    }
    return events;
}

} // namespace termsim
