// nickmaker-shot FILE.png: starts the editor as it starts for the user, saves
// a picture of the loaded window to FILE.png and of the two entry dialogs, as
// Add opens them, beside it (FILE-alias.png, FILE-shell.png), and ends. For
// scripts/run on a machine without a display, and for the documentation.
#include "ui/DesktopServices.h"
#include "ui/QtTranslations.h"
#include "ui/frmAlias.h"
#include "ui/frmNewAlias.h"
#include "ui/frmNewShell.h"

#include <QApplication>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <utility>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    nm::LoadQtTranslations(app);
    std::setlocale(LC_ALL, "");
    QApplication::setApplicationName("nickmaker");
    if (argc != 2) {
        std::fprintf(stderr, "usage: nickmaker-shot FILE.png\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);

    nm::DesktopServices services;
    nm::frmAlias window(services.ForWindow([] { QApplication::quit(); }));
    QTimer::singleShot(0, &window, [&window, path] {
        window.Form_Load();
        // The window has settled by then: its lists are filled and painted.
        QTimer::singleShot(500, &window, [&window, path] {
            bool saved = window.grab().save(path);
            std::fprintf(stderr, "screenshot: %s\n", path.toLocal8Bit().constData());
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
    });
    return QApplication::exec();
}
