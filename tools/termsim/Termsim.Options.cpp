#include "tools/termsim/Termsim.Options.h"

#include "base/Base.Unicode.h"
#include "tools/termsim/Termsim.RecordReader.h"

#include <charconv>

namespace termsim {

namespace {

TOptionsResult Failure(std::u16string message) {
    return {std::nullopt, std::move(message)};
}

std::optional<std::size_t> ParseCount(std::string_view digits) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<TCursor> ParseCursor(std::u16string_view text) {
    const std::string ascii = base::Utf16ToUtf8(text);
    const std::size_t comma = ascii.find(',');
    if (comma == std::string::npos) {
        return std::nullopt;
    }
    const std::optional<std::size_t> line = ParseCount(std::string_view(ascii).substr(0, comma));
    const std::optional<std::size_t> column = ParseCount(std::string_view(ascii).substr(comma + 1));
    if (!line || !column) {
        return std::nullopt;
    }
    return TCursor{*line, *column};
}

} // namespace

TOptionsResult ParseOptions(const std::vector<std::u16string>& args) {
    TOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::u16string& name = args[i];
        if (name == u"--confirm") {
            options.Confirm = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            return Failure(u"missing value or unknown option: " + name);
        }
        const std::u16string& value = args[++i];
        if (name == u"--record") {
            options.RecordPath = value;
        } else if (name == u"--times") {
            options.TimesPath = value;
        } else if (name == u"--class") {
            options.WindowClass = value;
        } else if (name == u"--title") {
            options.Title = value;
        } else if (name == u"--prompt" || name == u"--kill") {
            std::optional<std::u16string> text = UnescapeText(value);
            if (!text) {
                return Failure(u"broken escape in " + name + u": " + value);
            }
            (name == u"--prompt" ? options.Prompt : options.KillBuffer) = std::move(*text);
        } else if (name == u"--cursor") {
            options.Cursor = ParseCursor(value);
            if (!options.Cursor) {
                return Failure(u"--cursor takes <line>,<column>: " + value);
            }
        } else {
            return Failure(u"unknown option: " + name);
        }
    }
    if (options.RecordPath.empty()) {
        return Failure(u"--record <file> is required");
    }
    return {std::move(options), {}};
}

TPrompt MakePrompt(const TOptions& options) {
    TPrompt prompt(options.Prompt, options.Cursor.value_or(TPrompt::EndOf(options.Prompt)), options.Confirm);
    prompt.SeedKillBuffer(options.KillBuffer);
    return prompt;
}

} // namespace termsim
