// The open, save and printer set-up dialogs of the desktop editor, through Qt.
#pragma once

#include "host/FileDialogs.h"

#include <QString>

#include <memory>
#include <string>

class QPrinter;
class QWidget;

namespace nm {

// A filter in the program's form ("description |pattern|description |pattern")
// as Qt's file dialogs take it: "description (pattern);;description (pattern)".
QString QtFilter(const std::string& barFilter);

class QtFileDialogs final : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent);
    ~QtFileDialogs() override;
    QtFileDialogs(const QtFileDialogs&) = delete;
    QtFileDialogs& operator=(const QtFileDialogs&) = delete;

    std::optional<std::string> ShowOpen(const std::string& filter,
                                        const std::string& fileName) override;
    std::string ShowSave(const std::string& filter, const std::string& fileName) override;
    void ShowPrinterSetup() override;
    std::string FileTitle() const override { return fileTitle_; }

    // The printer the set-up dialog configures, for printing the lists.
    QPrinter& Printer();

private:
    std::string Picked(const QString& path);
    QWidget* parent_;
    std::unique_ptr<QPrinter> printer_; // made on first use: finding printers can take a while
    std::string fileTitle_;
};

} // namespace nm
