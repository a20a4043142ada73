#include "toolkit/Toolkit.Classes.h"

#include "base/Base.Format.h"

#include <string>

namespace toolkit {

void TStrings::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) {
        throw EListError(base::Format(u"List index out of bounds ({0})", Index));
    }
}

const std::u16string& TStrings::Strings(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

void TStrings::SetStrings(int Index, const std::u16string& Value) {
    CheckIndex(Index);
    FItems[static_cast<std::size_t>(Index)] = Value;
    Changed();
}

void* TStrings::Objects(int Index) const {
    CheckIndex(Index);
    return FObjects[static_cast<std::size_t>(Index)];
}

void TStrings::SetObjects(int Index, void* Value) {
    CheckIndex(Index);
    FObjects[static_cast<std::size_t>(Index)] = Value;
}

int TStrings::Add(const std::u16string& Value, void* Object) {
    FItems.push_back(Value);
    FObjects.push_back(Object);
    Changed();
    return Count() - 1;
}

void TStrings::Insert(int Index, const std::u16string& Value) {
    if (Index != Count()) {
        CheckIndex(Index);
    }
    FItems.insert(FItems.begin() + Index, Value);
    FObjects.insert(FObjects.begin() + Index, nullptr);
    Changed();
}

void TStrings::Delete(int Index) {
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
    FObjects.erase(FObjects.begin() + Index);
    Changed();
}

void TStrings::Clear() {
    if (FItems.empty()) {
        return;
    }
    FItems.clear();
    FObjects.clear();
    Changed();
}

int TStrings::IndexOf(std::u16string_view Value) const {
    for (std::size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i] == Value) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TStrings::Assign(const std::vector<std::u16string>& Values) {
    FItems = Values;
    FObjects.assign(Values.size(), nullptr);
    Changed();
}

std::u16string TStrings::Text() const {
    std::u16string result;
    for (const auto& line : FItems) {
        result += line;
        result += u"\r\n";
    }
    return result;
}

void TStrings::SetText(std::u16string_view Value) {
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < Value.size()) {
        if (Value[i] == u'\r' || Value[i] == u'\n') {
            lines.emplace_back(Value.substr(start, i - start));
            if (Value[i] == u'\r' && i + 1 < Value.size() && Value[i + 1] == u'\n') {
                ++i;
            }
            start = i + 1;
        }
        ++i;
    }
    if (start < Value.size()) {
        lines.emplace_back(Value.substr(start));
    }
    Assign(lines);
}

void TStrings::EndUpdate() {
    if (FUpdateCount == 0) {
        return;
    }
    if (--FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        if (OnChange) {
            OnChange();
        }
    }
}

void TStrings::Changed() {
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    if (OnChange) {
        OnChange();
    }
}

} // namespace toolkit
