// nickmaker: the editor for the Vectrom host's command aliases and shell commands.
#include "ui/QtFileDialogs.h"
#include "ui/QtHelpViewer.h"
#include "ui/QtPrinterDevice.h"
#include "ui/QtPrompter.h"
#include "ui/frmAlias.h"
#include "ui/frmNewAlias.h"
#include "ui/frmNewShell.h"

#include "host/Clock.h"
#include "host/HostLink.h"
#include "host/Locator.h"
#include "host/Registry.h"
#include "host/SettingsStore.h"

#include <QApplication>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_ALL, "");
    QApplication::setApplicationName("nickmaker");
    QApplication::setApplicationVersion(NICKMAKER_VERSION);

    const auto registry = nm::MakeSystemRegistry();
    const auto settings = nm::MakeSystemSettingsStore();
    const auto host = nm::MakeSystemHostLink();
    const auto clock = nm::MakeSystemClock();
    nm::QtPrompter prompter(nullptr, QString::fromUtf8(nm::ProgramTitle));
    nm::QtFileDialogs dialogs(nullptr);
    nm::QtPrinterDevice printer(dialogs.Printer(), dialogs, prompter);
    nm::QtHelpViewer help(prompter, nm::ProgramFolder() + "/help");
    nm::frmAlias window(nm::EditorServices{prompter, dialogs, *host, *clock, *settings, printer,
                                           help, nm::SystemHostContext(prompter, *registry),
                                           [] { QApplication::quit(); }});

    // Start once the event loop runs, so that leaving during start-up ends it.
    QTimer::singleShot(0, &window, [&window] {
        window.Form_Load();
        // NICKMAKER_SCREENSHOT=FILE: save a picture of the loaded window and end.
        if (const char* shot = std::getenv("NICKMAKER_SCREENSHOT"); shot && *shot) {
            const QString path = QString::fromLocal8Bit(shot);
            QTimer::singleShot(500, &window, [&window, path] {
                bool saved = window.grab().save(path);
                std::fprintf(stderr, "screenshot: %s\n", path.toLocal8Bit().constData());
                // The two entry dialogs beside it, as Add opens them.
                QString base = path;
                base.chop(4);
                const std::pair<QDialog*, QString> dialogs[] = {
                    {&window.AliasDialog(), base + "-alias.png"},
                    {&window.ShellDialog(), base + "-shell.png"}};
                for (const auto& [dialog, file] : dialogs) {
                    dialog->setWindowTitle(dialog == dialogs[0].first ? "新建命令热键"
                                                                      : "新建外部命令");
                    dialog->show();
                    saved = dialog->grab().save(file) && saved;
                    dialog->hide();
                    std::fprintf(stderr, "screenshot: %s\n", file.toLocal8Bit().constData());
                }
                QApplication::exit(saved ? 0 : 1);
            });
        }
    });
    return QApplication::exec();
}
