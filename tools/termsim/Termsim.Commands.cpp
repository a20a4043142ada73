#include "tools/termsim/Termsim.Commands.h"

#include <algorithm>
#include <array>

namespace termsim {

namespace {

struct TLevel {
    std::u16string_view Word;
    std::u16string_view Glyph;
    std::u16string_view Scope;
    std::u16string_view Description;
};

// Glyphs and texts as the CLI showed them; auto's glyph was never on screen and is termsim's own.
constexpr std::array<TLevel, 6> Levels = {{
    {u"low", u"\u25CB", u"saved as your default for new sessions",
     u"Quick, straightforward implementation with minimal overhead"},
    {u"medium", u"\u25D0", u"saved as your default for new sessions",
     u"Balanced approach with standard implementation and testing"},
    {u"high", u"\u25CF", u"saved as your default for new sessions",
     u"Comprehensive implementation with extensive testing and documentation"},
    {u"xhigh", u"\u25C9", u"saved as your default for new sessions",
     u"Deeper reasoning than high, just below maximum (on supported models)"},
    {u"max", u"\u25C8", u"this session only",
     u"Maximum capability with deepest reasoning. May use excessive tokens resulting in long response times "
     u"or overthinking. Use sparingly for the hardest tasks."},
    {u"auto", u"\u25CC", u"saved as your default for new sessions", u"Use the default effort level for your model"},
}};

const TLevel* LevelOf(std::u16string_view Word) {
    for (const TLevel& level : Levels) {
        if (level.Word == Word) {
            return &level;
        }
    }
    return nullptr;
}

// The descriptions the CLI showed for /effort, /code-review and /simplify; the others are
// termsim's own words.
constexpr std::array<TCommandInfo, 24> Commands = {{
    {u"/add-dir", u"Add a new working directory"},
    {u"/agents", u"Manage agent configurations"},
    {u"/btw", u"Ask a quick side question without interrupting the main conversation"},
    {u"/clear", u"Clear conversation history and free up context"},
    {u"/code-review", u"Review the current diff or a PR for bugs"},
    {u"/compact", u"Clear conversation history but keep a summary in context"},
    {u"/config", u"Open config panel"},
    {u"/context", u"Visualize current context usage as a colored grid"},
    {u"/cost", u"Show the total cost and duration of the current session"},
    {u"/doctor", u"Diagnose and verify your Claude Code installation and settings"},
    {u"/effort", u"Set the model's effort level"},
    {u"/exit", u"Exit the REPL"},
    {u"/help", u"Show help and available commands"},
    {u"/init", u"Initialize a new CLAUDE.md file with codebase documentation"},
    {u"/keybindings", u"Customize keyboard shortcuts"},
    {u"/memory", u"Edit Claude memory files"},
    {u"/model", u"Set the AI model for Claude Code"},
    {u"/permissions", u"Manage allow & deny tool permission rules"},
    {u"/resume", u"Resume a conversation"},
    {u"/review", u"Review a pull request"},
    {u"/rewind", u"Restore the code and/or conversation to a previous point"},
    {u"/simplify", u"Clean up the changed code without changing behavior"},
    {u"/status", u"Show Claude Code status including version, model, account and tools"},
    {u"/theme", u"Change the theme"},
}};

bool HoldsInOrder(std::u16string_view Text, std::u16string_view Letters) {
    std::size_t at = 0;
    for (char16_t unit : Text) {
        if (at < Letters.size() && unit == Letters[at]) {
            ++at;
        }
    }
    return at == Letters.size();
}

constexpr std::array<TMentionInfo, 5> Mentions = {{
    {u"+ src/", u"", u"src/"},
    {u"+ README.md", u"", u"README.md"},
    {u"+ main.c", u"", u"main.c"},
    {u"* claude (agent)", u"Catch-all for any task that doesn't fit a more specific agent",
     u"agent-claude"},
    {u"* claude-code-guide (agent)",
     u"Use this agent when the user asks questions (\"Can Claude...\", \"Does Claude...\", \"How do I...\") about "
     u"Claude Code",
     u"agent-claude-code-guide"},
}};

} // namespace

std::u16string_view EffortStep(std::size_t Index) {
    return Levels[std::min(Index, EffortSteps - 1)].Word;
}

std::optional<std::size_t> EffortStepOf(std::u16string_view Level) {
    for (std::size_t i = 0; i < EffortSteps; ++i) {
        if (Levels[i].Word == Level) {
            return i;
        }
    }
    return std::nullopt;
}

bool IsEffortLevel(std::u16string_view Word) {
    return LevelOf(Word) != nullptr;
}

std::u16string_view EffortGlyph(std::u16string_view Level) {
    const TLevel* found = LevelOf(Level);
    return found != nullptr ? found->Glyph : std::u16string_view(u"\u25D0");
}

std::u16string_view EffortDescription(std::u16string_view Level) {
    const TLevel* found = LevelOf(Level);
    return found != nullptr ? found->Description : std::u16string_view();
}

std::u16string EffortSetText(std::u16string_view Level) {
    const TLevel* found = LevelOf(Level);
    if (found == nullptr) {
        return UnknownEffortOptionText(Level);
    }
    std::u16string text = u"Set effort level to ";
    text += found->Word;
    text += u" (";
    text += found->Scope;
    text += u"): ";
    text += found->Description;
    return text;
}

std::u16string UnknownEffortOptionText(std::u16string_view Argument) {
    std::u16string text = u"Unknown option: ";
    text += Argument;
    text += u". Options: low, medium, high, xhigh, max, auto, ultracode [on|off]";
    return text;
}

std::vector<TCommandInfo> MatchCommands(std::u16string_view Typed) {
    std::vector<TCommandInfo> first;
    std::vector<TCommandInfo> later;
    for (const TCommandInfo& command : Commands) {
        const std::u16string_view name = command.Name.substr(1);
        if (name.starts_with(Typed)) {
            first.push_back(command);
        } else if (!Typed.empty() && (HoldsInOrder(name, Typed) ||
                                      command.Description.find(Typed) != std::u16string_view::npos)) {
            later.push_back(command);
        }
    }
    first.insert(first.end(), later.begin(), later.end());
    return first;
}

std::optional<TCommandInfo> FindCommand(std::u16string_view Name) {
    for (const TCommandInfo& command : Commands) {
        if (command.Name == Name) {
            return command;
        }
    }
    return std::nullopt;
}

std::vector<TMentionInfo> MatchMentions(std::u16string_view Typed) {
    std::vector<TMentionInfo> found;
    for (const TMentionInfo& mention : Mentions) {
        if (Typed.empty() || HoldsInOrder(mention.Label, Typed)) {
            found.push_back(mention);
        }
    }
    return found;
}

} // namespace termsim
