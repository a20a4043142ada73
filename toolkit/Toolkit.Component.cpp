#include "toolkit/Toolkit.Component.h"

#include "base/Base.Text.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Exceptions.h"

#include <algorithm>

namespace toolkit {

namespace {

template <class T> void EraseOne(std::vector<T*>& List, const T* Item) {
    const auto found = std::find(List.begin(), List.end(), Item);
    if (found != List.end()) {
        List.erase(found);
    }
}

EInvalidOperation NoTextProperty(const TComponent& Component, std::u16string_view Name) {
    return EInvalidOperation(Component.ClassName() + u" has no text property \"" + std::u16string(Name) +
                             u"\"");
}

} // namespace

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner == nullptr) {
        throw EInvalidOperation(u"A component needs an owner; without one, construct it on the application");
    }
    FOwner = AOwner;
    FApplication = AOwner->FApplication;
    AOwner->InsertComponent(this);
}

TComponent::TComponent(TApplication& App)
    : FApplication(&App), FIsApplication(static_cast<TComponent*>(&App) == this) {}

TComponent::~TComponent() {
    FDestroying = true;
    for (TFreeWatch* watch : FWatches) {
        watch->FComponent = nullptr;
    }
    FWatches.clear();
    DestroyComponents();
    // References drop the component now, one at a time: what one of them runs may end another.
    while (!FRefs.empty()) {
        TComponentRefBase* ref = FRefs.back();
        FRefs.pop_back();
        ref->TargetFreed();
    }
    // Whoever asked to be told drops its reference now; the list is copied because a receiver may
    // change its own registrations while it is told.
    const std::vector<TComponent*> notifies = FFreeNotifies;
    FFreeNotifies.clear();
    for (TComponent* other : notifies) {
        EraseOne(other->FFreeNotifies, this);
        other->Notification(this, TOperation::opRemove);
    }
    if (TComponent* owner = FOwner; owner != nullptr) {
        owner->RemoveComponent(this);
        owner->Notification(this, TOperation::opRemove);
    }
    // A call bound to this component would otherwise run on freed memory.
    if (!FIsApplication) {
        FApplication->RemoveQueued(this);
    }
}

void TComponent::Free() {
    if (FDestroying) {
        return;
    }
    FDestroying = true;
    try {
        BeforeDestruction();
    } catch (...) {
        // The component goes anyway; whoever freed it learns what failed.
        delete this;
        throw;
    }
    delete this;
}

// The application outlives every component, so it is taken before the component goes.
void TComponent::FreeReportingErrors() {
    TApplication& app = *FApplication;
    try {
        Free();
    } catch (const std::exception& Error) {
        app.HandleException(Error);
    }
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        last->FreeReportingErrors();
        // Free() of a component that was already being destroyed returns without removing it.
        EraseOne(FComponents, last);
    }
}

TComponent* TComponent::FindComponent(std::u16string_view Name) const {
    if (Name.empty()) {
        return nullptr;
    }
    for (TComponent* component : FComponents) {
        if (base::SameTextAscii(component->Name(), Name)) {
            return component;
        }
    }
    return nullptr;
}

bool TComponent::Loading() const {
    return FOwner != nullptr && FOwner->Loading();
}

const TTextProperty* TComponent::FindTextProperty(std::u16string_view Name) const {
    for (const TTextProperty& property : TextProperties()) {
        if (base::SameTextAscii(property.Name, Name)) {
            return &property;
        }
    }
    return nullptr;
}

bool TComponent::HasTextProperty(std::u16string_view Name) const {
    return FindTextProperty(Name) != nullptr;
}

std::u16string TComponent::GetTextProperty(std::u16string_view Name) const {
    if (const TTextProperty* property = FindTextProperty(Name)) {
        return property->Get(*this);
    }
    throw NoTextProperty(*this, Name);
}

void TComponent::SetTextProperty(std::u16string_view Name, const std::u16string& Value) {
    if (const TTextProperty* property = FindTextProperty(Name)) {
        property->Set(*this, Value);
        return;
    }
    throw NoTextProperty(*this, Name);
}

// Both sides keep the other in their list, so whichever goes first tells the other one.
void TComponent::FreeNotification(TComponent* Other) {
    if (Other == nullptr || Other == this) {
        return;
    }
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), Other) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(Other);
    }
    if (std::find(Other->FFreeNotifies.begin(), Other->FFreeNotifies.end(), this) ==
        Other->FFreeNotifies.end()) {
        Other->FFreeNotifies.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* Other) {
    if (Other == nullptr) {
        return;
    }
    EraseOne(FFreeNotifies, Other);
    EraseOne(Other->FFreeNotifies, this);
}

// The owned components hear of every removal the owner hears of, so references between
// components of one form are dropped without each registering with the other.
void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == TOperation::opRemove && AComponent != nullptr) {
        EraseOne(FFreeNotifies, AComponent);
    }
    const std::vector<TComponent*> owned = FComponents;
    for (TComponent* component : owned) {
        if (component != AComponent && !component->FDestroying) {
            component->Notification(AComponent, Operation);
        }
    }
}

TFreeWatch::TFreeWatch(TComponent& Component) : FComponent(&Component) {
    FComponent->FWatches.push_back(this);
}

TFreeWatch::~TFreeWatch() {
    if (FComponent != nullptr) {
        auto& watches = FComponent->FWatches;
        watches.erase(std::remove(watches.begin(), watches.end(), this), watches.end());
    }
}

void TComponentRefBase::Watch(TComponent* Target) {
    if (FTarget != nullptr) {
        EraseOne(FTarget->FRefs, this);
    }
    FTarget = Target;
    if (Target != nullptr) {
        Target->FRefs.push_back(this);
    }
}

void TComponentRefBase::TargetFreed() {
    FTarget = nullptr;
    if (FOnFreed) {
        FOnFreed();
    }
}

void TComponent::InsertComponent(TComponent* Child) {
    FComponents.push_back(Child);
    Notification(Child, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* Child) {
    EraseOne(FComponents, Child);
    Child->FOwner = nullptr;
}

} // namespace toolkit
