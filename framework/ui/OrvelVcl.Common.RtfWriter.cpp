#include "framework/ui/OrvelVcl.Common.RtfWriter.h"

#include "framework/ui/OrvelVcl.Common.LogColors.h"

namespace orvel {

namespace {

void AppendColorTable(std::string& Rtf, bool DarkPalette) {
    // Entry 0 is the reader's automatic colour; levels are entries 1 to 7.
    Rtf += "{\\colortbl ;";
    for (int level = LogVerbLvlFirst; level <= LogVerbLvlLast; ++level) {
        const toolkit::TColor color = Verbosity2Color(static_cast<TLogVerbLvl>(level), DarkPalette);
        Rtf += "\\red" + std::to_string(color & 0xFF) + "\\green" + std::to_string((color >> 8) & 0xFF) +
               "\\blue" + std::to_string((color >> 16) & 0xFF) + ";";
    }
    Rtf += "}\n";
}

void AppendEscaped(std::string& Rtf, const std::u16string& Text) {
    for (const char16_t ch : Text) {
        if (ch == u'\\' || ch == u'{' || ch == u'}') {
            Rtf += '\\';
            Rtf += static_cast<char>(ch);
        } else if (ch == u'\t') {
            Rtf += "\\tab ";
        } else if (ch < 0x20) {
            Rtf += ' '; // a stray control character must not end the paragraph or the group
        } else if (ch < 0x80) {
            Rtf += static_cast<char>(ch);
        } else {
            // \uN takes a signed 16-bit number; surrogate halves go one by one, as RTF readers
            // expect. The '?' is what a reader without Unicode shows.
            Rtf += "\\u" + std::to_string(static_cast<std::int16_t>(ch)) + "?";
        }
    }
}

} // namespace

std::string BuildLogRtf(const std::vector<TRtfLine>& Lines, bool DarkPalette) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl{\\f0\\fswiss Segoe UI;}}\n";
    AppendColorTable(rtf, DarkPalette);
    rtf += "\\f0\\fs18\n";
    for (const TRtfLine& line : Lines) {
        const int colorIndex = static_cast<int>(line.Level) + 1;
        Verbosity2Color(line.Level, DarkPalette); // a level outside the seven raises, as drawing does
        rtf += "\\pard\\plain\\f0\\fs18\\cf" + std::to_string(colorIndex) + (line.Bold ? "\\b " : "\\b0 ");
        AppendEscaped(rtf, line.Msg);
        rtf += "\\par\n";
    }
    rtf += "}\n";
    return rtf;
}

} // namespace orvel
