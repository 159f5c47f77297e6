// Layout of the setup wizard: a gradient picture on the left, four pages on top
// of one another, the buttons under a separator line.
#include "app/SetupLayout.h"

namespace kelp {

TFormSpec SetupFormSpec() {
    return TFormSpec{"TfrmSetup", "", TBorderStyle::bsFixedNoMenu, 471, 330, TPosition::poScreenCenter, true, {}};
}

const std::vector<TControlSpec>& SetupLayout() {
    using K = TControlKind;
    static const TFontSpec bold{"", 0, true};
    static const std::vector<TControlSpec> layout{
        {K::LoweredPanel, "Panel1", "", {8, 8, 122, 259}, ""},
        {K::Gradient, "Gradient1", "Panel1", {2, 2, 118, 255}, "", {}, RGB(0, 0, 0), RGB(0, 0, 255)},

        {K::Panel, "pnlStart", "", {142, 8, 321, 268}, ""},
        {K::WrapLabel, "lblWelcome", "pnlStart", {4, 4, 313, 48}, "", bold},
        {K::WrapLabel, "lblStart2", "pnlStart", {4, 64, 313, 60},
         "It is recommended that you close all other Windows programs before proceeding.  Select Cancel to exit and "
         "close any programs that are running."},
        {K::Label, "lblStart3", "pnlStart", {4, 240, 0, 0}, "Click Next to continue"},

        {K::Panel, "pnlCustom", "", {142, 8, 321, 268}, ""},
        {K::WrapLabel, "lblCustom1", "pnlCustom", {4, 4, 313, 32},
         "Enter your username and password for the Vorlan FTP server"},
        {K::Label, "lblUser", "pnlCustom", {4, 56, 0, 0}, "Username:"},
        {K::Edit, "txtUser", "pnlCustom", {4, 74, 200, 21}, ""},
        {K::Label, "lblPass", "pnlCustom", {4, 110, 0, 0}, "Password:"},
        {K::PasswordEdit, "txtPass", "pnlCustom", {4, 128, 200, 21}, ""},
        {K::Label, "lblCustom2", "pnlCustom", {4, 240, 0, 0}, "Click Next to continue"},

        {K::Panel, "pnlPath", "", {142, 8, 321, 268}, ""},
        {K::WrapLabel, "lblPath1", "pnlPath", {4, 4, 313, 48},
         "Select a directory for the program to be installed in.  It is recommended that you use the default path."},
        {K::WrapLabel, "lblPath2", "pnlPath", {4, 64, 313, 32},
         "To change the directory, click on Browse and select a new directory."},
        {K::GroupBox, "GroupBox1", "pnlPath", {4, 120, 313, 64}, " Destination Pathname "},
        {K::DirLabel, "lblDestPath", "GroupBox1", {12, 30, 195, 16}, ""},
        {K::Button, "Button1", "GroupBox1", {224, 25, 75, 25}, "&Browse"},
        {K::Label, "lblPath3", "pnlPath", {4, 240, 0, 0}, "Click Next to continue"},

        {K::Panel, "pnlFinish", "", {142, 8, 321, 268}, ""},
        {K::WrapLabel, "lblFinish", "pnlFinish", {4, 4, 313, 48}, ""},
        {K::CheckBox, "chkReadme", "pnlFinish", {20, 80, 200, 17}, "View the README file now"},
        {K::CheckBox, "chkRunProgram", "pnlFinish", {20, 104, 200, 17}, "Run KelpFTP now"},
        {K::Label, "lblFinish2", "pnlFinish", {4, 240, 0, 0}, "Click Finish to complete Setup."},

        {K::TopLineBevel, "Bevel1", "", {8, 283, 455, 2}, ""},
        {K::DefaultButton, "btnNext", "", {300, 296, 75, 25}, "&Next >>"},
        {K::Button, "btnCancel", "", {388, 296, 75, 25}, "&Cancel"},
    };
    return layout;
}

}  // namespace kelp
