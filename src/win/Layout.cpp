#include "win/Layout.h"

#include "win/DirLabel.h"
#include "win/DirectoryListBox.h"
#include "win/DriveComboBox.h"
#include "win/Gauge.h"
#include "win/Gradient.h"
#include "win/StdCtrls.h"

namespace kelp {

namespace {
std::unique_ptr<TControl> Make(TWinControl* parent, const TControlSpec& s) {
    using K = TControlKind;
    switch (s.Kind) {
    case K::Label:
    case K::WrapLabel:
    case K::TransparentLabel: {
        auto l = std::make_unique<TLabel>(parent, s.Bounds, "", s.Font);
        l->WordWrap = s.Kind == K::WrapLabel;
        l->Transparent = s.Kind == K::TransparentLabel;
        l->SetCaption(s.Text);
        return l;
    }
    case K::StaticLabel: return std::make_unique<TStaticText>(parent, s.Bounds, s.Text, true);
    case K::Button:
    case K::DefaultButton: return std::make_unique<TButton>(parent, s.Bounds, s.Text, s.Kind == K::DefaultButton);
    case K::Edit: return std::make_unique<TEdit>(parent, s.Bounds);
    case K::PasswordEdit: return std::make_unique<TEdit>(parent, s.Bounds, '*');
    case K::CheckBox: return std::make_unique<TCheckBox>(parent, s.Bounds, s.Text);
    case K::Panel: return std::make_unique<TPanel>(parent, s.Bounds);
    case K::LoweredPanel: return std::make_unique<TPanel>(parent, s.Bounds, TBevelCut::bvLowered);
    case K::TopLineBevel: return std::make_unique<TBevel>(parent, s.Bounds, TBevelShape::bsTopLine);
    case K::GroupBox: return std::make_unique<TGroupBox>(parent, s.Bounds, s.Text);
    case K::DirLabel: return std::make_unique<TDirLabel>(parent, s.Bounds);
    case K::Gradient: return std::make_unique<TGradient>(parent, s.Bounds, s.Color1, s.Color2);
    case K::ClientGradient:
        return std::make_unique<TGradient>(parent, s.Bounds, s.Color1, s.Color2, TGradientDirection::gdVertical, true);
    case K::Gauge: return std::make_unique<TGauge>(parent, s.Bounds);
    case K::DirectoryList: return std::make_unique<TDirectoryListBox>(parent, s.Bounds);
    case K::DriveCombo: return std::make_unique<TDriveComboBox>(parent, s.Bounds);
    }
    throw Exception("Unknown control kind for " + s.Name);
}
}  // namespace

void BuildLayout(TForm& form, const std::vector<TControlSpec>& specs) {
    for (const auto& s : specs) {
        TWinControl* parent = s.Parent.empty() ? &form : form.Find<TWinControl>(s.Parent);
        auto c = Make(parent, s);
        c->Name = s.Name;
        if (auto* w = dynamic_cast<TWinControl*>(c.get()); w && !s.Font.Name.empty()) w->SetFont(FontHandle(s.Font));
        form.Own(std::move(c));
    }
}

}  // namespace kelp
