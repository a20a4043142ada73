#include "framework/ui/OrvelVcl.Visual.INIFile.h"

#include "framework/core/OrvelCore.LogTypes.h"
#include "framework/ui/OrvelVcl.Common.LogViewer.h"

namespace orvel {

using toolkit::TComponent;

namespace {

EOrvelException Unsupported(const TComponent& Comp) {
    return EOrvelException(u"Unsupported control: " + Comp.ClassName() + u", " + Comp.Name());
}

// A stored level that names no level reads as the first one.
TLogVerbLvl StoredVerbosity(std::int32_t Ordinal) {
    return IsLogVerbLvl(Ordinal) ? static_cast<TLogVerbLvl>(Ordinal) : lvDebug;
}

} // namespace

bool TIniFileVCL::IsSupported(const TComponent* WinCtrl) const {
    return TIniFileApp::IsSupported(WinCtrl) || (WinCtrl != nullptr && WinCtrl->Is<TLogViewer>());
}

bool TIniFileVCL::WriteComp(TComponent* Comp) {
    const bool known = TIniFileApp::WriteComp(Comp);
    if (!known && !WriteOwnValue(*Comp)) {
        throw Unsupported(*Comp);
    }
    return known;
}

bool TIniFileVCL::ReadComp(TComponent* Comp) {
    Assert(Comp != nullptr, u"TIniFileVCL.ReadComp: Comp parameter cannot be nil");
    Assert(!Comp->Name().empty(), u"TIniFileVCL-The control has no name! Class: " + Comp->ClassName());
    const bool known = TIniFileApp::ReadComp(Comp);
    if (!known && ValueExists(OwnerSection(*Comp), Comp->Name()) && !ReadOwnValue(*Comp)) {
        throw Unsupported(*Comp);
    }
    return known;
}

bool TIniFileVCL::WriteOwnValue(TComponent& Comp) {
    if (const auto* viewer = dynamic_cast<const TLogViewer*>(&Comp)) {
        WriteInteger(OwnerSection(Comp), Comp.Name(), static_cast<std::int32_t>(viewer->Verbosity()));
        return true;
    }
    return false;
}

bool TIniFileVCL::ReadOwnValue(TComponent& Comp) {
    if (auto* viewer = dynamic_cast<TLogViewer*>(&Comp)) {
        viewer->SetVerbosity(StoredVerbosity(ReadInteger(OwnerSection(Comp), Comp.Name(), 0)));
        return true;
    }
    return false;
}

} // namespace orvel
