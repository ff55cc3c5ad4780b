// The lists on paper: the system's printer through QPrinter, or a PDF file the
// user picks at each print when the system has no printer at all. Text is set
// in a fixed-pitch font, so that the columns counted in characters line up.
#pragma once

#include "host/FileDialogs.h"
#include "host/PrinterDevice.h"
#include "host/Prompter.h"

#include <QFont>
#include <QString>

#include <memory>

class QPainter;
class QPrinter;

namespace nm {

class QtPrinterDevice final : public PrinterDevice {
public:
    QtPrinterDevice(QPrinter& printer, FileDialogs& dialogs, Prompter& prompter);
    ~QtPrinterDevice() override;

    bool Prepare() override;
    int Copies() const override { return copies_; }
    void SetFontSize(int points) override;
    void SetBold(bool bold) override;
    void PrintLine(const std::string& text) override;
    void NewPage() override;
    void EndDocument() override;
    void Finish() override;
    void Abandon() override;

private:
    // The PDF file that stands in for the missing printer, asked for at every
    // print; "" when the user gave up.
    QString AskForPdfFile();
    // Starts the document at the first output of a run.
    void Begin();
    void UseFont();

    QPrinter& printer_;
    FileDialogs& dialogs_;
    Prompter& prompter_;
    // The file this device chose in place of a printer, as opposed to one the
    // user set up in the printer set-up dialog.
    QString standInFile_;
    std::unique_ptr<QPainter> painter_;
    QFont font_;
    int copies_ = 1;
    double y_ = 0;
    double lineHeight_ = 0;
    bool sheetEnded_ = false;
};

} // namespace nm
