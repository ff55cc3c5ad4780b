#include "ui/QtHelpViewer.h"

#include "host/FileIo.h"
#include "host/Utf8.h"

#include <QDesktopServices>
#include <QUrl>

namespace nm {

std::string HelpPagePath(const std::string& folder, const HelpRequest& request) {
    std::string name = LowerCase(request.file);
    if (const auto dot = name.rfind('.'); dot != std::string::npos)
        name.resize(dot);
    return folder + "/" + name + ".html";
}

void QtHelpViewer::ShowHelp(const HelpRequest& request) {
    const std::string page = HelpPagePath(folder_, request);
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(page));
    url.setFragment(QString::fromStdString(LowerCase(request.keyword)));
    if (FileExists(files_, page) && QDesktopServices::openUrl(url))
        return;
    prompter_.Show(MessageBox{"不能启动帮助查看器. 帮助页在:\r\n" + page, Buttons::OK,
                              Icon::Exclamation, "帮助", 1});
}

} // namespace nm
