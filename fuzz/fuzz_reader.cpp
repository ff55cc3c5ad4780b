// The reader with rows, the duplicate pass on open and on import, both
// sections, and the check of the same file, on any bytes. A file read whole
// is saved and read again: the rows come back the same.
#include "fuzz/FuzzSupport.h"

#include "core/Document.h"
#include "core/PgpCheck.h"
#include "core/PgpWriter.h"

#include <algorithm>
#include <vector>

namespace {

// The rows a save writes, in name order: all but those marked "---", and
// but alias names with a comma (the reader's own invention for a line whose
// only comma ends it; a name cannot keep a comma in a file).
std::vector<std::string> SavedRows(const nm::Main& main) {
    std::vector<std::string> rows;
    for (const nm::EntryTable& table : main.Lists)
        for (const std::size_t position : table.NameOrder()) {
            const nm::Row& row = table.At(position);
            if (row.text == nm::MarkedName || row.text.View().find(',') != std::string::npos)
                continue;
            rows.push_back(row.text + "\n" + row.sub[0] + "\n" + row.sub[1] + "\n" + row.sub[2]);
        }
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nm;
    nm::SilentPrompter prompter;
    NoFileDialogs dialogs;
    NoHostLink host;
    FixedClock clock;
    QuietView view(true);
    SystemFileSystem files;
    const Services services{prompter, dialogs, host, clock, view, files};
    Main main(services);
    const std::string path = fuzz::WriteScratch("input.pgp", data, size);
    const ReadResult read = OpenPgpFile(main, path, false);
    // Read whole in UTF-8 or the system's code page, saved and read again:
    // every row a save writes comes back unchanged. (A file that is neither
    // is read byte for byte as ISO-8859-1, which the next read may take for
    // one of the others.)
    if (read == ReadResult::Completed && main.FileEncoding.charset != "ISO-8859-1" &&
        RowsFitInFile(main)) {
        const std::string bytes = FileBytes(PgpFileText(main, false), main.FileEncoding);
        const std::string again = fuzz::WriteScratch(
            "again.pgp", reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        Main second(services);
        if (OpenPgpFile(second, again, false) != ReadResult::Completed ||
            SavedRows(second) != SavedRows(main))
            __builtin_trap();
    }
    OpenPgpFile(main, path, true);
    PgpFileText(main, false);
    // Every finding of the check is on a line of the file (the encoding note
    // on line 1 even when there is none), in file order.
    Main checked(services);
    const CheckReport report = CheckPgpFile(checked, path);
    int lines = 0;
    const std::string original = OriginalFileText(checked);
    for (std::size_t at = original.find("\r\n"); at != std::string::npos;
         at = original.find("\r\n", at + 2))
        ++lines;
    int previous = 1;
    for (const Finding& finding : report.findings) {
        if (finding.line < previous || finding.line > std::max(lines, 1))
            __builtin_trap();
        previous = finding.line;
    }
    // The check says what the editor did: every entry read is a row but those
    // the duplicate pass removed and those without a name, and the rows named
    // "---" are those the pass marked and those so named in the file.
    const auto findings = [&report](const char* code) {
        return std::count_if(report.findings.begin(), report.findings.end(),
                             [code](const Finding& finding) { return finding.code == code; });
    };
    if (report.readable && report.Count(Severity::Error) == 0) {
        long rows = 0, dashes = 0;
        for (const EntryTable& table : checked.Lists)
            for (const std::size_t position : table.NameOrder()) {
                ++rows;
                dashes += table.At(position).text == MarkedName;
            }
        if (rows != report.aliases + report.shells - findings("duplicate-removed") -
                        findings("unnamed-alias") ||
            dashes != findings("duplicate-marked") + findings("dashes-name"))
            __builtin_trap();
    }
    return 0;
}
