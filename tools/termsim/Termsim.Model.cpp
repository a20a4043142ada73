#include "tools/termsim/Termsim.Model.h"

#include "tools/termsim/Termsim.Render.h"

namespace termsim {

namespace {

std::variant<TCli, TShell> Make(const TSetup& Setup, std::uint64_t NowMs) {
    if (Setup.Shell) {
        return TShell(Setup);
    }
    return TCli(Setup, NowMs);
}

} // namespace

TModel::TModel(const TSetup& Setup, std::uint64_t NowMs) : FModel(Make(Setup, NowMs)) {}

std::vector<TRecordEvent> TModel::Apply(const TKeyEvent& Key, std::uint64_t NowMs) {
    return std::visit([&](auto& Model) { return Model.Apply(Key, NowMs); }, FModel);
}

std::vector<TRecordEvent> TModel::Advance(std::uint64_t NowMs) {
    if (auto* cli = std::get_if<TCli>(&FModel)) {
        return cli->Advance(NowMs);
    }
    return {};
}

std::vector<TRecordEvent> TModel::Paste(std::u16string_view Text, std::uint64_t NowMs) {
    if (auto* cli = std::get_if<TCli>(&FModel)) {
        return cli->Paste(Text, NowMs);
    }
    // A shell takes pasted text as typed text.
    std::vector<TRecordEvent> events;
    auto& shell = std::get<TShell>(FModel);
    for (char16_t unit : Text) {
        for (TRecordEvent& event : shell.Apply({unit == u'\n' ? TKey::ShiftEnter : TKey::Char, unit}, NowMs)) {
            events.push_back(std::move(event));
        }
    }
    return events;
}

TScreen TModel::Render(int Columns, int Rows) const {
    return std::visit([&](const auto& Model) { return termsim::Render(Model, Columns, Rows); }, FModel);
}

std::u16string TModel::Title() const {
    return std::visit([](const auto& Model) { return std::u16string(Model.Title()); }, FModel);
}

TPromptState TModel::PromptState() const {
    return std::visit([](const auto& Model) { return Model.PromptState(); }, FModel);
}

} // namespace termsim
