// Printing both lists: a bold header on every page, 60 rows a page, page
// numbers running from the alias list into the shell list, each copy on its own.
#pragma once

#include "core/Main.h"
#include "host/PrinterDevice.h"

#include <string>

namespace nm {

// The progress window shown while printing.
class PrintProgress {
public:
    virtual ~PrintProgress() = default;
    virtual void Show(const std::string& printing) = 0;
    virtual void SetPage(const std::string& page) = 0;
    virtual void Hide() = 0;
};

inline constexpr int RowsPerPage = 60;

void PrintLists(Main& main, PrinterDevice& printer, PrintProgress& progress);

} // namespace nm
