// The reader with rows, the duplicate pass on open and on import, both
// sections, and the check of the same file, on any bytes.
#include "FuzzSupport.h"

#include "Check.h"
#include "ListRows.h"
#include "PgpReader.h"
#include "PgpWriter.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nm;
    nm::SilentPrompter prompter;
    fuzz::NoDialogs dialogs;
    fuzz::NoHost host;
    fuzz::FixedClock clock;
    QuietView view(true);
    Main main(Services{prompter, dialogs, host, clock, view});
    const std::string path = fuzz::WriteScratch("input.pgp", data, size);
    ReadPgpFile(main, path, false);
    FillListRows(main, false);
    ReadPgpFile(main, path, true);
    FillListRows(main, true);
    BuildSections(main);
    const std::string text = PgpFileText(main, false);
    // What the writer wrote reads back without an error.
    const std::string again = fuzz::WriteScratch(
        "again.pgp", reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    Main second(Services{prompter, dialogs, host, clock, view});
    if (ReadPgpFile(second, again, false) != ReadResult::Completed)
        __builtin_trap();
    // Every finding of the check is on a line of the file (the encoding note
    // on line 1 even when there is none), in file order.
    Main checked(Services{prompter, dialogs, host, clock, view});
    const CheckReport report = CheckPgpFile(checked, path);
    int lines = 0;
    for (std::size_t at = checked.OriginalText.find("\r\n"); at != std::string::npos;
         at = checked.OriginalText.find("\r\n", at + 2))
        ++lines;
    int previous = 1;
    for (const Finding& finding : report.findings) {
        if (finding.line < previous || finding.line > std::max(lines, 1))
            __builtin_trap();
        previous = finding.line;
    }
    return 0;
}
