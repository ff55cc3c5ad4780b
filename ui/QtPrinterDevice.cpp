#include "ui/QtPrinterDevice.h"

#include "host/Paths.h"
#include "host/RuntimeError.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace nm {

namespace {

// Room for the 60 rows of a page with its header.
constexpr double LinesPerPage = 70;

} // namespace

QtPrinterDevice::QtPrinterDevice(QPrinter& printer, FileDialogs& dialogs, Prompter& prompter)
    : printer_(printer), dialogs_(dialogs), prompter_(prompter) {
    font_.setFamilies({"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono CJK SC",
                       "AR PL UMing CN", "Monospace"});
    font_.setStyleHint(QFont::TypeWriter);
    font_.setFixedPitch(true);
    font_.setPointSize(10);
}

QtPrinterDevice::~QtPrinterDevice() = default;

bool QtPrinterDevice::Prepare() {
    // The stand-in file of the last print is no choice for this one: the user
    // picks again, and a printer installed since then is used.
    if (!standInFile_.isEmpty() && printer_.outputFormat() == QPrinter::PdfFormat &&
        printer_.outputFileName() == standInFile_)
        printer_.setOutputFileName(QString());
    standInFile_.clear();
    const bool toPdf = printer_.outputFormat() == QPrinter::PdfFormat;
    if ((toPdf && printer_.outputFileName().isEmpty()) ||
        (!toPdf && QPrinterInfo::availablePrinters().isEmpty())) {
        // No printer on this system: the lists go to a PDF file of the user's choice.
        const QString path = AskForPdfFile();
        if (path.isEmpty())
            return false;
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(path);
        standInFile_ = path;
    }
    copies_ = std::max(1, printer_.copyCount());
    // Each copy is printed as its own run of pages.
    printer_.setCopyCount(1);
    return true;
}

QString QtPrinterDevice::AskForPdfFile() {
    for (;;) {
        std::string path;
        try {
            path = dialogs_.ShowSave("PDF |*.pdf", "");
        } catch (const RuntimeError&) {
            return {};
        }
        if (FileNamePart(path).find('.') == std::string::npos)
            path += ".pdf";
        const QString file = QString::fromStdString(path);
        if (!QFileInfo::exists(file) ||
            prompter_.Show(MessageBox{path + "\r\n\r\n这个文件已经存在. 你想覆盖它吗?",
                                      Buttons::YesNo, Icon::Exclamation, "打印", 2}) == Answer::Yes)
            return file;
    }
}

void QtPrinterDevice::SetFontSize(int points) {
    font_.setPointSize(points);
    UseFont();
}

void QtPrinterDevice::SetBold(bool bold) {
    font_.setBold(bold);
    UseFont();
}

void QtPrinterDevice::UseFont() {
    if (painter_)
        painter_->setFont(font_);
}

void QtPrinterDevice::Begin() {
    if (painter_) {
        if (sheetEnded_) {
            printer_.newPage();
            y_ = 0;
        }
        sheetEnded_ = false;
        return;
    }
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&printer_)) {
        painter_.reset();
        throw RuntimeError(Err::DeviceUnavailable);
    }
    painter_->setFont(font_);
    const double pageHeight = printer_.pageRect(QPrinter::DevicePixel).height();
    lineHeight_ =
        std::min(QFontMetricsF(font_, &printer_).lineSpacing(), pageHeight / LinesPerPage);
    y_ = 0;
    sheetEnded_ = false;
}

void QtPrinterDevice::PrintLine(const std::string& text) {
    Begin();
    const QFontMetricsF metrics(painter_->font(), &printer_);
    const double pageHeight = printer_.pageRect(QPrinter::DevicePixel).height();
    const QString all = QString::fromStdString(text);
    for (const QString& line : all.split("\r\n")) {
        if (y_ + lineHeight_ > pageHeight) {
            printer_.newPage();
            y_ = 0;
        }
        painter_->drawText(QPointF(0, y_ + metrics.ascent()), line);
        y_ += lineHeight_;
    }
}

void QtPrinterDevice::NewPage() {
    Begin();
    printer_.newPage();
    y_ = 0;
}

void QtPrinterDevice::EndDocument() {
    // The next copy starts on a sheet of its own.
    if (painter_)
        sheetEnded_ = true;
}

void QtPrinterDevice::Finish() {
    Abandon();
}

void QtPrinterDevice::Abandon() {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
    // The copies the user chose hold for every later print.
    printer_.setCopyCount(copies_);
}

} // namespace nm
