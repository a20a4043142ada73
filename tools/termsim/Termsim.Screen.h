#pragma once
// A drawn screen: rows of cells, each a UTF-16 unit with a tone, the caret as the one cell the
// CLI draws in reverse video, and the title the terminal shows. One unit is one cell.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace termsim {

// The colours termsim draws with, named for what the CLI draws in them.
enum class TTone : std::uint8_t {
    Plain,
    Dim,     // hints, descriptions (the CLI's grey 246)
    Rule,    // the box's rules (grey 244)
    Accent,  // commands, focus marks (blue 153)
    Bash,    // bash mode's rules and marks (pink 211)
    Warning, // the effort question, auto mode (yellow 220)
    Success, // chosen items (green 114)
    Claude,  // the logo and the spinner (orange 174)
};

// One row being drawn: its text and a tone per unit.
struct TLine {
    std::u16string Text;
    std::vector<TTone> Tones;

    TLine() = default;
    explicit TLine(std::u16string_view Piece, TTone Tone = TTone::Plain) { Add(Piece, Tone); }
    TLine& Add(std::u16string_view Piece, TTone Tone = TTone::Plain) {
        Text += Piece;
        Tones.insert(Tones.end(), Piece.size(), Tone);
        return *this;
    }
    std::size_t Size() const { return Text.size(); }
};

struct TScreenCell {
    int Row = 0;
    int Column = 0;
    friend bool operator==(const TScreenCell&, const TScreenCell&) = default;
};

// Rows drawn for the bottom of the screen, and the caret within them.
struct TBlock {
    std::vector<TLine> Lines;
    std::optional<TScreenCell> Caret;
};

struct TScreen {
    int Columns = 0;
    // Exactly as many as the screen is high, each exactly Columns units wide.
    std::vector<TLine> Rows;
    std::optional<TScreenCell> Caret;
    std::u16string Title;

    // The rows as a console reader hands them over: trailing blanks removed.
    std::vector<std::u16string> TrimmedRows() const;
};

} // namespace termsim
