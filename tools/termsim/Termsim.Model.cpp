#include "tools/termsim/Termsim.Model.h"

#include "tools/termsim/Termsim.Render.h"

namespace termsim {

namespace {

std::variant<TCli, TShell> Make(const TSetup& setup, std::uint64_t nowMs) {
    if (setup.Shell) {
        return TShell(setup);
    }
    return TCli(setup, nowMs);
}

} // namespace

TModel::TModel(const TSetup& setup, std::uint64_t nowMs) : FModel(Make(setup, nowMs)) {}

std::vector<TRecordEvent> TModel::Apply(const TKeyEvent& key, std::uint64_t nowMs) {
    return std::visit([&](auto& model) { return model.Apply(key, nowMs); }, FModel);
}

std::vector<TRecordEvent> TModel::Advance(std::uint64_t nowMs) {
    if (auto* cli = std::get_if<TCli>(&FModel)) {
        return cli->Advance(nowMs);
    }
    return {};
}

std::vector<TRecordEvent> TModel::Paste(std::u16string_view text, std::uint64_t nowMs) {
    if (auto* cli = std::get_if<TCli>(&FModel)) {
        return cli->Paste(text, nowMs);
    }
    // A shell takes pasted text as typed text.
    std::vector<TRecordEvent> events;
    auto& shell = std::get<TShell>(FModel);
    for (char16_t unit : text) {
        for (TRecordEvent& event : shell.Apply({unit == u'\n' ? TKey::ShiftEnter : TKey::Char, unit}, nowMs)) {
            events.push_back(std::move(event));
        }
    }
    return events;
}

TScreen TModel::Render(int columns, int rows) const {
    return std::visit([&](const auto& model) { return termsim::Render(model, columns, rows); }, FModel);
}

std::u16string TModel::Title() const {
    return std::visit([](const auto& model) { return std::u16string(model.Title()); }, FModel);
}

TPromptState TModel::PromptState() const {
    return std::visit([](const auto& model) { return model.PromptState(); }, FModel);
}

} // namespace termsim
