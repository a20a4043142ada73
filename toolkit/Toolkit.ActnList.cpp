#include "toolkit/Toolkit.ActnList.h"

#include "toolkit/Toolkit.Classes.h"

#include <algorithm>

namespace toolkit {

TAction::TAction(TComponent* AOwner) : TComponent(AOwner) {}

TAction::~TAction() {
    for (TActionLink* link : FLinks) {
        link->ActionDestroyed();
    }
}

void TAction::SetCaption(const std::u16string& Value) {
    if (UpdateField(FCaption, Value)) {
        Changed();
    }
}

void TAction::SetHint(const std::u16string& Value) {
    if (UpdateField(FHint, Value)) {
        Changed();
    }
}

void TAction::SetChecked(bool Value) {
    if (UpdateField(FChecked, Value)) {
        Changed();
    }
}

void TAction::SetEnabled(bool Value) {
    if (UpdateField(FEnabled, Value)) {
        Changed();
    }
}

void TAction::SetVisible(bool Value) {
    if (UpdateField(FVisible, Value)) {
        Changed();
    }
}

bool TAction::Execute() {
    if (!OnExecute) {
        return false;
    }
    OnExecute(this);
    return true;
}

std::span<const TTextProperty> TAction::TextProperties() const {
    static constexpr TTextProperty properties[] = {
        TextProperty<TAction, &TAction::Caption, &TAction::SetCaption>(u"Caption"),
        TextProperty<TAction, &TAction::Hint, &TAction::SetHint>(u"Hint"),
    };
    return properties;
}

void TAction::AddLink(TActionLink* Link) {
    if (std::find(FLinks.begin(), FLinks.end(), Link) == FLinks.end()) {
        FLinks.push_back(Link);
    }
}

void TAction::RemoveLink(TActionLink* Link) {
    FLinks.erase(std::remove(FLinks.begin(), FLinks.end(), Link), FLinks.end());
}

void TAction::Changed() {
    // A client's update may not add or remove links, but iterate over a copy all the same.
    const std::vector<TActionLink*> links = FLinks;
    for (TActionLink* link : links) {
        link->ActionChanged();
    }
}

TActionLink::~TActionLink() {
    if (FAction != nullptr) {
        FAction->RemoveLink(this);
    }
}

void TActionLink::SetAction(TAction* Value) {
    if (FAction == Value) {
        return;
    }
    if (FAction != nullptr) {
        FAction->RemoveLink(this);
    }
    FAction = Value;
    if (FAction != nullptr) {
        FAction->AddLink(this);
        ActionChanged();
    }
}

bool TActionLink::Execute() {
    return FAction != nullptr && FAction->Execute();
}

void TActionLink::ActionChanged() {
    if (FAction != nullptr && FApply) {
        FApply(*FAction);
    }
}

} // namespace toolkit
