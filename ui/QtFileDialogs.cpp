#include "ui/QtFileDialogs.h"

#include "host/Paths.h"
#include "host/RuntimeError.h"
#include "ui/WaitingForTheUser.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStringList>

namespace nm {

QString QtFilter(const std::string& barFilter) {
    const QStringList pieces = QString::fromStdString(barFilter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i < pieces.size(); i += 2) {
        const QString& description = pieces[i];
        if (i + 1 == pieces.size()) {
            // A closing bar leaves an empty piece, which is no entry at all.
            if (!description.isEmpty())
                entries.append(description);
            break;
        }
        // The program separates patterns with ";", Qt with blanks.
        QString patterns = pieces[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const bool endsInBlank = description.endsWith(QLatin1Char(' '));
        entries.append(description + (endsInBlank ? QString() : QStringLiteral(" ")) +
                       QLatin1Char('(') + patterns + QLatin1Char(')'));
    }
    return entries.join(QStringLiteral(";;"));
}

std::string QtFileDialogs::Picked(const QString& path) {
    // Qt reports "/" on every platform; the program shows and compares native paths.
    std::string picked = QDir::toNativeSeparators(path).toStdString();
    fileTitle_ = FileNamePart(picked);
    return picked;
}

QtFileDialogs::QtFileDialogs(QWidget* parent) : parent_(parent) {}

QtFileDialogs::~QtFileDialogs() = default;

std::optional<std::string> QtFileDialogs::ShowOpen(const std::string& filter,
                                                   const std::string& fileName) {
    const ArrowWhileWaiting arrow;
    const QString path = QFileDialog::getOpenFileName(
        ActiveParent(parent_), QString(), QString::fromStdString(fileName), QtFilter(filter));
    if (path.isEmpty())
        return std::nullopt;
    return Picked(path);
}

std::string QtFileDialogs::ShowSave(const std::string& filter, const std::string& fileName) {
    const ArrowWhileWaiting arrow;
    QFileDialog dialog(ActiveParent(parent_), QString(), QString::fromStdString(fileName),
                       QtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The program asks its own question before it replaces a file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // A name typed without an extension gets the filter's (".pgp").
    const QString pattern = QString::fromStdString(filter)
                                .section(QLatin1Char('|'), 1, 1)
                                .section(QLatin1Char(';'), 0, 0);
    if (pattern.startsWith(QStringLiteral("*.")) && !pattern.mid(2).contains(QLatin1Char('*')))
        dialog.setDefaultSuffix(pattern.mid(2));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        throw RuntimeError(Err::DialogCancelled);
    return Picked(dialog.selectedFiles().constFirst());
}

void QtFileDialogs::ShowPrinterSetup() {
    const ArrowWhileWaiting arrow;
    QPrintDialog dialog(&Printer(), ActiveParent(parent_));
    // A set-up, not a print: its button keeps the choices and prints nothing.
    dialog.setWindowTitle(QStringLiteral("打印机设置"));
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("确定"));
    if (dialog.exec() != QDialog::Accepted)
        throw RuntimeError(Err::DialogCancelled);
}

QPrinter& QtFileDialogs::Printer() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>();
    return *printer_;
}

} // namespace nm
