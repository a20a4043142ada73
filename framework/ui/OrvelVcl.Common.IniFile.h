#pragma once
// TIniFileApp: keeps a form's window state, position and size, and the one value of each
// supported control on it, in the application's INI file, and puts them back when the form is
// created again. Positions and sizes are stored in 96-dpi units, so that a window keeps its size
// when it moves to a screen of another pixel density.
#include "framework/core/OrvelCore.AppData.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.INIFile.h"
#include "platform/Platform.Services.h"
#include "toolkit/Toolkit.Control.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/Toolkit.Graphics.h"

#include <string>

namespace orvel {

// A stored value outside the range its property can hold.
class ERangeError : public EOrvelException {
    using EOrvelException::EOrvelException;
};

// Number * Numerator / Denominator computed in 64 bits and rounded to the nearest integer, halves
// away from zero, as Windows' MulDiv; -1 for a zero denominator or a result beyond 32 bits.
int MulDiv(int Number, int Numerator, int Denominator);

// Lives for one save or one load. Values of a component go to the section named after its owner
// under the component's name; a form's own entry to the section named after the form; colours of
// shapes and colour dialogs, fonts of font dialogs and the main form's font to the default section.
class TIniFileApp : public TIniFileEx {
public:
    // The file is ForcedName, or the application's INI file when that is empty; the services are
    // those of the application's identity. An empty SectionName raises.
    TIniFileApp(const std::u16string& SectionName, const std::u16string& ForcedName);
    TIniFileApp(const std::u16string& SectionName, const std::u16string& ForcedName,
                const platform::TServices& Os);

    // Refuse to load a position into a form that would place itself (any Position but poDesigned).
    bool ShowPositionWarn = true;

    // True for a component of a class of the component table (forms are not in it).
    virtual bool IsSupported(const toolkit::TComponent* WinCtrl) const;
    // Writes the value of one component (a form: its own entry); false when its class is not in
    // the table and nothing was written.
    virtual bool WriteComp(toolkit::TComponent* Comp);
    // Restores one component; false only when a value is stored for a class the table lacks.
    virtual bool ReadComp(toolkit::TComponent* Comp);

    // The form's own entry; with asFull also every named, supported component it owns, at any
    // depth. asUndefined acts as asPosOnly, asNone raises.
    void SaveForm(toolkit::TForm* Form, TAutoState AutoState);
    void LoadForm(toolkit::TForm* Form, TAutoState AutoState);
    // The named, supported direct children of a container, in child order; no deeper.
    void WriteGroup(toolkit::TControl* WinCtrl);
    void ReadGroup(toolkit::TControl* WinCtrl);

    using TIniFileEx::Read;
    using TIniFileEx::Write;
    // A font under the keys Ident (empty marker), Ident+"Name", "CharSet", "Color", "Size",
    // "Style". Read answers whether Ident+"Name" exists; without it the font is left as it is.
    void Write(const std::u16string& Ident, const toolkit::TFont* Font);
    bool Read(const std::u16string& Ident, toolkit::TFont* Font);

    // A colour as its name or "$" hexadecimal text; reading text that names no colour raises
    // toolkit::EConvertError.
    void WriteColor(const std::u16string& Ident, toolkit::TColor Value);
    toolkit::TColor ReadColor(const std::u16string& Ident, toolkit::TColor Default);

    // The whole text of the application's INI file, whatever file this object was opened on.
    std::u16string AsString();

    const platform::TServices& Services() const { return FOs; }

protected:
    // Where the value of a component is stored: the section named after its owner.
    static std::u16string OwnerSection(const toolkit::TComponent& Comp);

private:
    void WriteCtrlPos(toolkit::TForm& Form);
    void ReadCtrlPos(toolkit::TForm& Form);
    void CentreForm(toolkit::TForm& Form);
    void WriteOwned(const toolkit::TComponent& Owner);
    void ReadOwned(const toolkit::TComponent& Owner);

    platform::TServices FOs;
};

} // namespace orvel
