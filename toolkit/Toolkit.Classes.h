#pragma once
// Small shared pieces of the control classes: the string list behind Lines and Items, shortcut
// values and the errors the controls raise.
#include "base/Base.ShortCut.h"
#include "toolkit/Toolkit.Exceptions.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

using base::scAlt;
using base::scCtrl;
using base::scShift;
using base::TShortCut;

// An ordered list of strings, each with an optional pointer beside it. The control that owns the
// list sets OnChange to mirror every change; inside BeginUpdate/EndUpdate the changes are told
// once, at the closing EndUpdate.
class TStrings {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    // Raises EListError for an index outside [0, Count).
    const std::u16string& Strings(int Index) const;
    void SetStrings(int Index, const std::u16string& Value);
    const std::u16string& operator[](int Index) const { return Strings(Index); }
    void* Objects(int Index) const;
    void SetObjects(int Index, void* Value);

    // Returns the index of the new line.
    int Add(const std::u16string& Value, void* Object = nullptr);
    void Append(const std::u16string& Value) { Add(Value); }
    // Index may be Count (append).
    void Insert(int Index, const std::u16string& Value);
    void Delete(int Index);
    void Clear();
    // First exact match, or -1.
    int IndexOf(std::u16string_view Value) const;
    void Assign(const std::vector<std::u16string>& Values);
    const std::vector<std::u16string>& Lines() const { return FItems; }

    // Every line followed by CR LF. Setting splits at CR LF, LF or a lone CR; a final line break
    // adds no empty line.
    std::u16string Text() const;
    void SetText(std::u16string_view Value);

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    std::function<void()> OnChange;

private:
    void CheckIndex(int Index) const;
    void Changed();

    std::vector<std::u16string> FItems;
    std::vector<void*> FObjects;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};

} // namespace toolkit
