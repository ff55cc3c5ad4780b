// nickmaker: the editor for the Vectrom host's command aliases and shell commands.
#include "ui/DesktopServices.h"
#include "ui/QtTranslations.h"
#include "ui/frmAlias.h"

#include <QApplication>
#include <QTimer>

#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    nm::LoadQtTranslations(app);
    std::setlocale(LC_ALL, "");
    QApplication::setApplicationName("nickmaker");
    QApplication::setApplicationVersion(NICKMAKER_VERSION);

    nm::DesktopServices services;
    nm::frmAlias window(services.ForWindow([] { QApplication::quit(); }));
    // Start once the event loop runs, so that leaving during start-up ends it.
    QTimer::singleShot(0, &window, [&window] { window.Form_Load(); });
    return QApplication::exec();
}
