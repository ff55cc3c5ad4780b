// The reader with rows, the duplicate pass on open and on import, and both
// sections, on any bytes.
#include "FuzzSupport.h"

#include "ListRows.h"
#include "PgpReader.h"
#include "PgpWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nm;
    fuzz::SilentPrompter prompter;
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
    return 0;
}
