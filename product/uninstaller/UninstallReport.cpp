#include "UninstallReport.h"

namespace kelp {

namespace {

template <class T, class Show>
void AppendList(std::string& out, const std::string& heading, const std::vector<T>& items, size_t max, Show show) {
    if (items.empty()) return;
    out += "\r\n\r\n" + heading;
    size_t n = 0;
    for (const auto& item : items) {
        if (n++ == max) {
            out += "\r\n  ... and " + std::to_string(items.size() - max) + " more";
            break;
        }
        out += "\r\n  " + show(item);
    }
}

}  // namespace

std::string SummaryText(const TUninstallReport& r, size_t max) {
    std::string out = r.Complete() ? r.AppName + " was removed from your computer."
                                   : r.AppName + " was removed, but not completely.";
    auto plain = [](const std::string& s) { return s; };
    auto withWhy = [](const TLeftItem& i) { return i.What + " (" + i.Why + ")"; };
    AppendList(out, "Removed:", r.Removed, max, plain);
    AppendList(out, "In use, removed when Windows restarts:", r.AtRestart, max, plain);
    AppendList(out, "Left in place:", r.Left, max, withWhy);
    AppendList(out, "Not removed, because the installation log names them outside the program's folders:",
               r.Refused, max, withWhy);
    if (!r.SelfAtRestart.empty())
        out += "\r\n\r\nThe uninstaller itself (" + r.SelfAtRestart + ") is removed when Windows restarts.";
    if (!r.FtpHandler.empty())
        out += "\r\n\r\nThe ftp protocol handler still starts the removed program (" + r.FtpHandler +
               "). It was left as it is, since what it was before the installation is not known; "
               "choose another ftp program in Windows to change it.";
    return out;
}

}  // namespace kelp
