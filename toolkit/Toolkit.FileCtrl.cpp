#include "toolkit/Toolkit.FileCtrl.h"

namespace toolkit {

namespace {

std::u16string WithoutTrailingBackslash(std::u16string Path) {
    while (Path.size() > 1 && Path.back() == u'\\' && !(Path.size() == 3 && Path[1] == u':')) {
        Path.pop_back();
    }
    return Path;
}

} // namespace

TFileListBox::TFileListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

void TFileListBox::SetDirectory(const std::u16string& Value) {
    const std::u16string folder = WithoutTrailingBackslash(Value);
    if (FDirectory != folder) {
        FDirectory = folder;
        // The listed names belonged to the old folder.
        Items().Clear();
        Changed(TChange::Items);
    }
}

void TFileListBox::SetMask(const std::u16string& Value) {
    const std::u16string mask = Value.empty() ? u"*.*" : Value;
    if (FMask != mask) {
        FMask = mask;
        Changed(TChange::Items);
    }
}

std::u16string TFileListBox::FileName() const {
    if (ItemIndex() < 0) {
        return {};
    }
    std::u16string path = FDirectory;
    if (!path.empty() && path.back() != u'\\') {
        path += u'\\';
    }
    return path + Items()[ItemIndex()];
}

bool TFileListBox::ApplyFilePath(const std::u16string& Path) {
    if (FFileSystem == nullptr || Path.empty() || !FFileSystem->FileExists(Path)) {
        return false;
    }
    const std::size_t slash = Path.find_last_of(u"\\/");
    const std::u16string folder = slash == std::u16string::npos ? std::u16string() : Path.substr(0, slash);
    const std::u16string name = slash == std::u16string::npos ? Path : Path.substr(slash + 1);
    SetDirectory(folder);
    int index = Items().IndexOf(name);
    if (index < 0) {
        index = Items().Add(name);
    }
    SetItemIndex(index);
    return true;
}

TDirectoryListBox::TDirectoryListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

void TDirectoryListBox::SetDirectory(const std::u16string& Value) {
    const std::u16string folder = WithoutTrailingBackslash(Value);
    if (FDirectory != folder) {
        FDirectory = folder;
        Changed(TChange::State);
        if (OnChange) {
            OnChange(this);
        }
    }
}

TFilterComboBox::TFilterComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
    SetStyle(TComboBoxStyle::csDropDownList);
    SetFilter(u"All files (*.*)|*.*");
}

void TFilterComboBox::SetFilter(const std::u16string& Value) {
    FFilter = Value;
    std::vector<std::u16string> descriptions;
    FMasks.clear();
    std::size_t pos = 0;
    while (pos < Value.size()) {
        std::size_t bar = Value.find(u'|', pos);
        const std::u16string description = Value.substr(pos, bar == std::u16string::npos ? bar : bar - pos);
        std::u16string mask;
        if (bar != std::u16string::npos) {
            pos = bar + 1;
            bar = Value.find(u'|', pos);
            mask = Value.substr(pos, bar == std::u16string::npos ? bar : bar - pos);
        }
        descriptions.push_back(description);
        FMasks.push_back(mask.empty() ? u"*.*" : mask);
        pos = bar == std::u16string::npos ? Value.size() : bar + 1;
    }
    SetItemIndex(-1);
    Items().Assign(descriptions);
    SetItemIndex(descriptions.empty() ? -1 : 0);
}

std::u16string TFilterComboBox::Mask() const {
    const int index = ItemIndex();
    return index >= 0 && index < static_cast<int>(FMasks.size()) ? FMasks[static_cast<std::size_t>(index)]
                                                                 : std::u16string();
}

void TFilterComboBox::SetFileList(TFileListBox* Value) {
    if (FFileList == Value) {
        return;
    }
    FFileList = Value;
}

void TFilterComboBox::Change() {
    if (FFileList != nullptr) {
        FFileList->SetMask(Mask());
    }
    TCustomComboBox::Change();
}

} // namespace toolkit
