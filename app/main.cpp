// nickmaker: the editor for the Vectrom host's command aliases and shell commands.
#include "app/Screenshot.h"
#include "ui/DesktopServices.h"
#include "ui/QtTranslations.h"
#include "ui/frmAlias.h"

#include "host/Memory.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>

#include <clocale>

int main(int argc, char** argv) {
    nm::KeepFreedMemory();
    QApplication app(argc, argv);
    nm::LoadQtTranslations(app);
    std::setlocale(LC_ALL, "");
    QApplication::setApplicationName("nickmaker");
    QApplication::setApplicationVersion(NICKMAKER_VERSION);
    // The menu entry and icon an install puts in place, for the desktop's task list.
    QGuiApplication::setDesktopFileName("org.nickmaker.nickmaker");
    QApplication::setWindowIcon(QIcon::fromTheme("org.nickmaker.nickmaker"));

    QCommandLineParser parser;
    parser.setApplicationDescription("编辑 Vectrom 主程序 vtrm.pgp 文件中的命令热键和外部命令.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshot(
        "screenshot",
        "像启动时一样读入主程序的文件, 把窗口和对话框的图片存入 FILE.png 和它旁边的 "
        "FILE-*.png, 然后结束.",
        "FILE.png");
    parser.addOption(screenshot);
    parser.process(app);

    nm::DesktopServices services;
    nm::frmAlias window(services.ForWindow([] { QApplication::quit(); }));
    if (parser.isSet(screenshot))
        TakeScreenshots(window, parser.value(screenshot));
    else
        // Start once the event loop runs, so that leaving during start-up ends it.
        QTimer::singleShot(0, &window, [&window] { window.Form_Load(); });
    return QApplication::exec();
}
