#include "toolkit/Toolkit.ActnList.h"

#include "base/Base.Text.h"
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
    if (FCaption != Value) {
        FCaption = Value;
        Changed();
    }
}

void TAction::SetHint(const std::u16string& Value) {
    if (FHint != Value) {
        FHint = Value;
        Changed();
    }
}

void TAction::SetChecked(bool Value) {
    if (FChecked != Value) {
        FChecked = Value;
        Changed();
    }
}

void TAction::SetEnabled(bool Value) {
    if (FEnabled != Value) {
        FEnabled = Value;
        Changed();
    }
}

void TAction::SetVisible(bool Value) {
    if (FVisible != Value) {
        FVisible = Value;
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

bool TAction::HasTextProperty(std::u16string_view Name) const {
    return base::SameTextAscii(Name, u"Caption") || base::SameTextAscii(Name, u"Hint") ||
           TComponent::HasTextProperty(Name);
}

std::u16string TAction::GetTextProperty(std::u16string_view Name) const {
    if (base::SameTextAscii(Name, u"Caption")) {
        return FCaption;
    }
    if (base::SameTextAscii(Name, u"Hint")) {
        return FHint;
    }
    return TComponent::GetTextProperty(Name);
}

void TAction::SetTextProperty(std::u16string_view Name, const std::u16string& Value) {
    if (base::SameTextAscii(Name, u"Caption")) {
        SetCaption(Value);
    } else if (base::SameTextAscii(Name, u"Hint")) {
        SetHint(Value);
    } else {
        TComponent::SetTextProperty(Name, Value);
    }
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
