// nickmaker --screenshot FILE.png: starts the editor as it starts for the
// user, saves a picture of the loaded window to FILE.png, of the question Remove asks
// over it to FILE-box.png (and of the whole screen then to FILE-screen.png),
// and of the two entry dialogs as Add opens them to FILE-alias.png and
// FILE-shell.png, and ends. On an X display the pictures are taken from the
// screen, so that a window manager's frames and the places it gave the
// windows show; elsewhere each window draws its own. For scripts/run on a
// machine without a display, scripts/screenshots, and the documentation.
#include "app/Screenshot.h"

#include "ui/frmAlias.h"
#include "ui/frmNewAlias.h"
#include "ui/frmNewShell.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QTreeView>

#include <cstdio>

namespace {

// Lets the window manager place and paint what was just shown.
void Settle(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool Shoot(QWidget& window, const QString& file) {
    const QPixmap picture =
        QGuiApplication::platformName() == QLatin1String("xcb")
            ? window.screen()->grabWindow(0, window.frameGeometry().x(), window.frameGeometry().y(),
                                          window.frameGeometry().width(),
                                          window.frameGeometry().height())
            : window.grab();
    const bool saved = picture.save(file);
    std::fprintf(stderr, "screenshot: %s\n", file.toLocal8Bit().constData());
    return saved;
}

} // namespace

void TakeScreenshots(nm::frmAlias& window, const QString& path) {
    QString base = path;
    base.chop(4);
    bool saved = true;
    QTimer::singleShot(0, &window, [&window, path, base, saved]() mutable {
        window.Form_Load();
        // The lists are filled and painted by then.
        Settle(500);
        saved = Shoot(window, path);
        // The question Remove asks over the window, answered No.
        auto* list = window.findChild<QTreeView*>("lvwAlias_0");
        if (list && list->model() && list->model()->rowCount() > 1) {
            list->setCurrentIndex(
                list->model()->index(1, 0)); // not a replaced row: it goes without a question
            QTimer::singleShot(600, &window, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    saved = Shoot(*box, base + "-box.png") && saved;
                    // The whole screen: the box where it opened, over the window.
                    saved = box->screen()->grabWindow(0).save(base + "-screen.png") && saved;
                    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                    QApplication::sendEvent(box, &escape);
                }
            });
            QKeyEvent remove(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
            QApplication::sendEvent(list, &remove);
        }
        const std::pair<QDialog*, QString> dialogs[] = {
            {&window.AliasDialog(), base + "-alias.png"},
            {&window.ShellDialog(), base + "-shell.png"}};
        for (const auto& [dialog, file] : dialogs) {
            dialog->setWindowTitle(dialog == dialogs[0].first ? "新建命令热键" : "新建外部命令");
            dialog->show();
            Settle(800);
            saved = Shoot(*dialog, file) && saved;
            dialog->hide();
        }
        QApplication::exit(saved ? 0 : 1);
    });
}
