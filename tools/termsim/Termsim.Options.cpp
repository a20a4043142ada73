#include "tools/termsim/Termsim.Options.h"

#include "base/Base.Unicode.h"
#include "tools/termsim/Termsim.Commands.h"
#include "tools/termsim/Termsim.RecordReader.h"

#include <array>
#include <charconv>
#include <utility>

namespace termsim {

namespace {

TOptionsResult Failure(std::u16string Message) {
    return {std::nullopt, std::move(Message)};
}

template <typename TNumber> std::optional<TNumber> ParseNumber(std::u16string_view Text) {
    const std::string digits = base::Utf16ToUtf8(Text);
    TNumber value{};
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

// "<a><separator><b>", both counts.
template <typename TNumber>
std::optional<std::pair<TNumber, TNumber>> ParsePair(std::u16string_view Text, char16_t Separator) {
    const std::size_t at = Text.find(Separator);
    if (at == std::u16string_view::npos) {
        return std::nullopt;
    }
    const auto first = ParseNumber<TNumber>(Text.substr(0, at));
    const auto second = ParseNumber<TNumber>(Text.substr(at + 1));
    if (!first || !second) {
        return std::nullopt;
    }
    return std::make_pair(*first, *second);
}

constexpr std::array<std::pair<std::u16string_view, TView>, 6> OpenViews = {{
    {u"permission", TView::Permission},
    {u"model", TView::ModelPicker},
    {u"effort", TView::EffortPicker},
    {u"config", TView::Config},
    {u"history", TView::HistorySearch},
    {u"rewind", TView::Rewind},
}};

// --open: a view that takes the box's place, or what stands beside the box.
std::optional<std::u16string> ApplyOpen(std::u16string_view What, TSetup& Setup) {
    for (const auto& [name, view] : OpenViews) {
        if (What == name) {
            Setup.Open = view;
            return std::nullopt;
        }
    }
    if (What == u"help") {
        Setup.Help = true;
    } else if (What == u"slash" || What == u"at") {
        // The menus follow the text: a "/" or "@" at the caret opens them.
        const TCursor at = Setup.Cursor.value_or(TDraft::EndOf(Setup.Prompt));
        TDraft draft(Setup.Prompt, at);
        draft.Insert(What == u"slash" ? u"/" : u"@");
        Setup.Prompt = draft.Text();
        Setup.Cursor = draft.Cursor();
    } else if (What.starts_with(u"question=") && IsEffortLevel(What.substr(9))) {
        Setup.Open = TView::Question;
        Setup.QuestionLevel = std::u16string(What.substr(9));
    } else {
        return u"--open takes permission, model, effort, config, history, rewind, help, slash, at or "
               u"question=<level>: " +
               std::u16string(What);
    }
    return std::nullopt;
}

} // namespace

TOptionsResult ParseOptions(const std::vector<std::u16string>& Args) {
    TOptions options;
    TSetup& setup = options.Setup;
    std::vector<std::u16string> opens;
    bool titled = false;
    for (std::size_t i = 0; i < Args.size(); ++i) {
        const std::u16string& name = Args[i];
        if (name == u"--confirm" || name == u"--question") {
            setup.Question = true;
            continue;
        }
        if (name == u"--console") {
            options.Console = true;
            continue;
        }
        if (name == u"--bash") {
            setup.Bash = true;
            continue;
        }
        if (name == u"--stash-bash") {
            setup.StashBash = true;
            continue;
        }
        if (name == u"--busy") {
            setup.Busy = true;
            continue;
        }
        if (name == u"--manual") {
            setup.ManualMode = true;
            continue;
        }
        if (name == u"--shell") {
            setup.Shell = true;
            continue;
        }
        if (i + 1 >= Args.size()) {
            return Failure(u"missing value or unknown option: " + name);
        }
        const std::u16string& value = Args[++i];
        if (name == u"--record") {
            options.RecordPath = value;
        } else if (name == u"--times") {
            options.TimesPath = value;
        } else if (name == u"--class") {
            options.WindowClass = value;
        } else if (name == u"--title") {
            setup.Title = value;
            titled = true;
        } else if (name == u"--folder") {
            setup.Folder = value;
        } else if (name == u"--prompt" || name == u"--kill" || name == u"--stash" || name == u"--paste" ||
                   name == u"--history" || name == u"--permission-command" ||
                   name == u"--permission-description") {
            std::optional<std::u16string> text = UnescapeText(value);
            if (!text) {
                return Failure(u"broken escape in " + name + u": " + value);
            }
            if (name == u"--prompt") {
                setup.Prompt = std::move(*text);
            } else if (name == u"--kill") {
                setup.Kills.push_back(std::move(*text));
            } else if (name == u"--stash") {
                setup.Stash = std::move(*text);
            } else if (name == u"--paste") {
                setup.Pastes.push_back(std::move(*text));
            } else if (name == u"--history") {
                setup.History.push_back(std::move(*text));
            } else if (name == u"--permission-command") {
                setup.PermissionCommand = std::move(*text);
            } else {
                setup.PermissionDescription = std::move(*text);
            }
        } else if (name == u"--cursor") {
            const auto cursor = ParsePair<std::size_t>(value, u',');
            if (!cursor) {
                return Failure(u"--cursor takes <line>,<column>: " + value);
            }
            setup.Cursor = TCursor{cursor->first, cursor->second};
        } else if (name == u"--size") {
            const auto size = ParsePair<int>(value, u'x');
            if (!size || size->first < 20 || size->second < 5 || size->first > 500 || size->second > 200) {
                return Failure(u"--size takes <columns>x<rows>, at least 20x5: " + value);
            }
            options.Columns = size->first;
            options.Rows = size->second;
        } else if (name == u"--history-enter") {
            if (value != u"send" && value != u"use") {
                return Failure(u"--history-enter takes send or use: " + value);
            }
            setup.HistoryEnterSends = value == u"send";
        } else if (name == u"--vim") {
            if (value != u"insert" && value != u"normal") {
                return Failure(u"--vim takes insert or normal: " + value);
            }
            setup.Vim = value == u"insert" ? TVimMode::Insert : TVimMode::Normal;
        } else if (name == u"--effort") {
            if (!IsEffortLevel(value)) {
                return Failure(u"--effort takes low, medium, high, xhigh, max or auto: " + value);
            }
            setup.Effort = value;
        } else if (name == u"--open") {
            // Applied after the prompt and caret are known, whatever the order on the line.
            opens.push_back(value);
        } else if (name == u"--question-delay" || name == u"--turn-ms" || name == u"--indicator-ms") {
            const auto ms = ParseNumber<std::uint64_t>(value);
            if (!ms) {
                return Failure(name + u" takes a number of milliseconds: " + value);
            }
            (name == u"--question-delay" ? setup.QuestionDelayMs
                                         : (name == u"--turn-ms" ? setup.TurnMs : setup.IndicatorMs)) = *ms;
        } else {
            return Failure(u"unknown option: " + name);
        }
    }
    for (const std::u16string& what : opens) {
        if (std::optional<std::u16string> error = ApplyOpen(what, setup)) {
            return Failure(*error);
        }
    }
    setup.Columns = options.Columns;
    if (setup.Shell && !titled) {
        setup.Title = u"Windows PowerShell";
    }
    if (options.RecordPath.empty()) {
        return Failure(u"--record <file> is required");
    }
    return {std::move(options), {}};
}

} // namespace termsim
