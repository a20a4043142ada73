#pragma once
// File and folder pickers: a list of the files of one folder, a folder list and a filter combo box.
// They reach the disk only through a platform::IFileSystem set on them.
#include "platform/Platform.FileSystem.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <string>

namespace toolkit {

// The files of Directory that match Mask. The list shows what the program puts into Items; the
// one selected is FileName (full path). Without a file system, ApplyFilePath finds nothing.
class TFileListBox : public TCustomListBox {
public:
    explicit TFileListBox(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TFileListBox"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckFileListBox; }

    void SetFileSystem(platform::IFileSystem* Value) { FFileSystem = Value; }
    platform::IFileSystem* FileSystem() const { return FFileSystem; }

    // Folder of the listed files, without a trailing backslash.
    const std::u16string& Directory() const { return FDirectory; }
    void SetDirectory(const std::u16string& Value);
    // "*.*" by default; several masks separated by ";".
    const std::u16string& Mask() const { return FMask; }
    void SetMask(const std::u16string& Value);
    // Full path of the selected file, or empty.
    std::u16string FileName() const;
    // When the file exists: its folder becomes Directory and the file is listed (added when
    // missing) and selected. Returns whether it was.
    bool ApplyFilePath(const std::u16string& Path);

private:
    platform::IFileSystem* FFileSystem = nullptr;
    std::u16string FDirectory;
    std::u16string FMask = u"*.*";
};

class TDirectoryListBox : public TCustomListBox {
public:
    explicit TDirectoryListBox(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TDirectoryListBox"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckDirectoryListBox; }

    const std::u16string& Directory() const { return FDirectory; }
    void SetDirectory(const std::u16string& Value);
    TNotifyEvent OnChange;

private:
    std::u16string FDirectory;
};

// A combo box of file filters from Filter ("Text files (*.txt)|*.txt|All files|*.*"): the items are
// the descriptions, Mask is the pattern of the selected one. A user's choice also sets the mask of
// the linked file list box (FileList).
class TFilterComboBox : public TCustomComboBox {
public:
    explicit TFilterComboBox(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TFilterComboBox"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckFilterComboBox; }

    const std::u16string& Filter() const { return FFilter; }
    // Rebuilds the items and selects the first filter.
    void SetFilter(const std::u16string& Value);
    // The selected filter's pattern ("" when nothing is selected).
    std::u16string Mask() const;
    TFileListBox* FileList() const { return FFileList; }
    void SetFileList(TFileListBox* Value);

protected:
    void Change() override;

private:
    std::u16string FFilter;
    std::vector<std::u16string> FMasks;
    TComponentRef<TFileListBox> FFileList;
};

} // namespace toolkit
