// The listed directory as the chain of its parents from the drive root, then its
// subdirectories; double-click or Enter opens an entry. Every change of the
// listed directory raises OnChange.
#pragma once
#include <vector>

#include "win/Control.h"

namespace kelp {

class TDirectoryListBox : public TWinControl {
public:
    TDirectoryListBox(TWinControl* parent, TBounds bounds, int itemHeight = 16);
    // Full path without a final backslash, except a drive root ("C:\").
    const std::string& Directory() const { return directory_; }
    void SetDirectory(const std::string& dir);
    // Another drive lists that drive's current directory; the same drive changes nothing.
    void SetDrive(char d);
    TNotifyEvent OnChange;
    // The directory an item stands for.
    std::string ItemPath(int index) const;
    void OpenItem(int index);

    void CommandNotify(WORD code) override;
    bool DrawItem(const DRAWITEMSTRUCT& di) override;

protected:
    LRESULT SubclassProc(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

private:
    static std::string Normalize(const std::string& dir);
    void Rebuild();
    std::string directory_;
    std::vector<std::string> chain_;  // root "C:\" then each folder down to the listed one
    std::vector<std::string> subdirs_;
};

}  // namespace kelp
