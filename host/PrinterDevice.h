// The printer the lists are printed on.
#pragma once

#include <string>

namespace nm {

class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;
    // Gets the device ready for a print run; false when the user gave up
    // (nothing is printed then).
    virtual bool Prepare() { return true; }
    // The number of copies the printer is set to.
    virtual int Copies() const = 0;
    virtual void SetFontSize(int points) = 0;
    virtual void SetBold(bool bold) = 0;
    // Prints a line of text. A CR LF inside the text ends a line there too, so
    // a text that ends with CR LF is followed by an empty line.
    virtual void PrintLine(const std::string& text) = 0;
    virtual void NewPage() = 0;
    // The copy printed so far goes to the printer.
    virtual void EndDocument() = 0;
    // The run is over: everything printed is sent.
    virtual void Finish() {}
    // A run that ends early: what it printed is dropped.
    virtual void Abandon() {}
};

} // namespace nm
