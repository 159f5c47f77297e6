#include "ProgressForm.h"

#include "win/Application.h"
#include "win/Layout.h"

namespace kelp {

namespace {
const std::vector<TControlSpec>& RemoveLayout() {
    using K = TControlKind;
    static const std::vector<TControlSpec> layout{
        {K::Label, "lblStatus", "", {8, 8, 313, 0}, ""},
        {K::Label, "lblItem", "", {8, 26, 313, 0}, ""},
        {K::Gauge, "Progress", "", {9, 46, 311, 17}, ""},
    };
    return layout;
}

// Long paths are shown by their tail, which is the part that tells files apart.
std::string Shortened(const std::string& s, size_t max = 52) {
    return s.size() <= max ? s : "..." + s.substr(s.size() - (max - 3));
}
}  // namespace

TfrmRemove::TfrmRemove()
    : TForm(TFormSpec{"TfrmRemove", "Uninstall", TBorderStyle::bsFixedNoMenu, 329, 76, TPosition::poScreenCenter,
                      false, {}},
            nullptr) {
    BuildLayout(*this, RemoveLayout());
    lblStatus = Find<TLabel>("lblStatus");
    lblItem = Find<TLabel>("lblItem");
    Progress = Find<TGauge>("Progress");
    // A removal stopped halfway leaves less to go on than one finished: no closing it.
    OnCloseQuery = [](bool& CanClose) { CanClose = false; };
}

void TfrmRemove::ShowStep(const std::string& status, const std::string& item, int percent) {
    lblStatus->SetCaption(status);
    lblItem->SetCaption(Shortened(item));
    Progress->SetProgress(percent);
    Repaint();
    Application.ProcessMessages();
}

}  // namespace kelp
