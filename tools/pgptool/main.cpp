// pgptool: the editor's file work without a window.
#include "tools/pgptool/CheckCommand.h"
#include "tools/pgptool/ConsoleServices.h"

#include "catalog/CommandCatalogue.h"
#include "core/Document.h"
#include "core/Main.h"
#include "core/Merge.h"
#include "core/PgpWriter.h"
#include "host/Clock.h"
#include "host/FileIo.h"
#include "host/HostLink.h"
#include "host/Locator.h"
#include "host/Registry.h"
#include "host/RuntimeError.h"

#ifdef _WIN32
#include "host/Win32.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#endif

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* Usage =
    "usage: pgptool normalize [--export] [--import FILE]... [-o OUT [--backup]] FILE\n"
    "       pgptool list [--import FILE]... FILE\n"
    "       pgptool locate [-v]\n"
    "       pgptool catalogue [FILE]\n"
    "       pgptool check [--catalogue FILE] [--json] [--strict] FILE...\n";

constexpr const char* Help =
    "pgptool reads a program-parameters file (vtrm.pgp) exactly as the editor\n"
    "does and does the editor's file work without a window.\n"
    "\n"
    "  normalize FILE   open FILE (read, rows, duplicate pass), import each\n"
    "                   --import FILE in order, and print the exact bytes a save\n"
    "                   would write, in the encoding the file would be written in.\n"
    "      --export     print what File > Export writes instead.\n"
    "      --import F   merge F into the lists, as the editor's Import does.\n"
    "      -o OUT       write OUT instead of printing, through the editor's safe\n"
    "                   write (a failed write leaves OUT as it was).\n"
    "      --backup     with -o: also keep the backup copy the editor keeps.\n"
    "\n"
    "  list FILE        print the rows after the same steps, one per line, UTF-8,\n"
    "                   tab-separated: 'alias NAME COMMAND' and\n"
    "                   'shell NAME COMMAND FLAGS PROMPT'; aliases first, each list\n"
    "                   in name order, rows marked --- included.\n"
    "\n"
    "  locate           print the program-parameters file the host uses for the\n"
    "                   current user's profile, as the editor finds it at start-up\n"
    "                   (on Linux in the Wine prefix $WINEPREFIX, else ~/.wine);\n"
    "                   exit 1 when there is none.\n"
    "      -v           also show the release, product, profile, the search list\n"
    "                   and each folder searched, in order.\n"
    "\n"
    "  catalogue [FILE] print the command names the editor loads from the\n"
    "                   catalogue FILE (default: alias.pgc beside pgptool), one\n"
    "                   per line, in the order read.\n"
    "\n"
    "  check FILE...    read each FILE as the editor opens it and report every line\n"
    "                   that the reader or the duplicate pass treats specially, in\n"
    "                   file order, as 'FILE:LINE: error|warning|note: MESSAGE [code]',\n"
    "                   then a summary line per file. Errors end the editor's read:\n"
    "                   the entries from that line on are missing. Warnings: lines\n"
    "                   dropped, named or cleaned without a word, duplicates and\n"
    "                   what the duplicate pass does with them, commands the\n"
    "                   catalogue does not know, alias names\n"
    "                   that hide a catalogue command, shell flags outside 0 to 15.\n"
    "                   Notes: the encoding and mixed line ends. The findings say\n"
    "                   what the editor would show; its messages are not printed.\n"
    "                   Each FILE is checked as the first file of an editor run\n"
    "                   (placeholders count from 1 in each).\n"
    "      --catalogue F  check alias commands against the catalogue F (default:\n"
    "                   alias.pgc beside pgptool; no such check when there is none).\n"
    "      --json       print the findings as one JSON document instead.\n"
    "      --strict     warnings fail the check too.\n"
    "                   Exit status: 0 no errors (with --strict, no warnings),\n"
    "                   1 otherwise, 2 usage error or a FILE that cannot be read.\n"
    "\n"
    "Messages the editor would show go to standard error; every question is\n"
    "answered Yes. Exit status: 0 done, 1 a file could not be read or written,\n"
    "2 usage error.\n";

struct Options {
    std::string command;
    std::string file;
    std::vector<std::string> imports;
    std::string output;
    bool exporting = false;
    bool backup = false;
};

int UsageError(const char* why) {
    std::fprintf(stderr, "pgptool: %s\n%s", why, Usage);
    return 2;
}

bool WriteAll(std::FILE* out, const std::string& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fflush(out) == 0;
}

// Open and import as the editor does; false when a read failed.
bool Load(nm::Main& main, const Options& options) {
    if (nm::OpenPgpFile(main, options.file, false) != nm::ReadResult::Completed)
        return false;
    main.CurrentFile = options.file;
    main.FileChanged = 0;
    for (const std::string& import : options.imports) {
        if (nm::OpenPgpFile(main, import, true) != nm::ReadResult::Completed)
            return false;
        main.FileChanged = 1;
    }
    return true;
}

int List(nm::Main& main) {
    std::string out;
    for (const int list : {nm::AliasList, nm::ShellList}) {
        const nm::EntryTable& table = main.Lists[static_cast<std::size_t>(list)];
        for (const std::size_t position : table.NameOrder()) {
            const nm::Row& row = table.At(position);
            if (list == nm::AliasList)
                out += "alias\t" + row.text + "\t" + row.sub[0] + "\n";
            else
                out += "shell\t" + row.text + "\t" + row.sub[0] + "\t" + row.sub[1] + "\t" +
                       row.sub[2] + "\n";
        }
    }
    return WriteAll(stdout, out) ? 0 : 1;
}

int Normalize(nm::Main& main, const Options& options) {
    if (!nm::RowsFitInFile(main))
        return 1;
    if (!options.output.empty()) {
        if (options.exporting) {
            nm::WriteTextFile(options.output, nm::ExportText(main), main.FileEncoding);
            return 0;
        }
        return nm::SavePgpFile(main, options.output, nm::FileNamePart(options.output), true,
                               /*notify=*/false)
                   ? 0
                   : 1;
    }
    nm::BuildSections(main);
    const std::string text = nm::PgpFileText(main, options.exporting);
    return WriteAll(stdout, nm::EncodeFileText(text + "\r\n", main.FileEncoding)) ? 0 : 1;
}

int Locate(const std::vector<std::string>& args) {
    bool verbose = false;
    for (const std::string& arg : args) {
        if (arg == "-v")
            verbose = true;
        else
            return UsageError(("unknown argument '" + arg + "'").c_str());
    }
    nm::ConsolePrompter prompter(stderr);
    const auto registry = nm::MakeSystemRegistry();
    nm::HostContext host = nm::SystemHostContext(prompter, *registry);
    nm::LocateTrace trace;
    const std::string found = nm::FindHostPgpFile(host, &trace);
    if (verbose) {
        std::fprintf(stderr, "release: %s\nproduct: %s\nprofile: %s\nsearch list: %s\n",
                     trace.release.c_str(), trace.product.c_str(), trace.profile.c_str(),
                     trace.searchList.c_str());
        for (const std::string& folder : trace.searched)
            std::fprintf(stderr, "searched: %s\n", folder.c_str());
    }
    if (found.empty())
        return 1;
    return WriteAll(stdout, found + "\n") ? 0 : 1;
}

int Catalogue(const std::vector<std::string>& args) {
    if (args.size() > 1)
        return UsageError("more than one FILE given");
    if (!args.empty() && args[0].size() > 1 && args[0][0] == '-')
        return UsageError(("unknown option '" + args[0] + "'").c_str());
    nm::ConsolePrompter prompter(stderr);
    nm::StoredRegistry noRegistry;
    const nm::HostContext host{prompter, noRegistry, nm::ProgramFolder(), {}};
    std::string file = args.empty() ? std::string() : args[0];
    if (!file.empty() && !nm::FileExists(file)) {
        std::fprintf(stderr, "pgptool: %s: no such catalogue file\n", file.c_str());
        return 1;
    }
    std::string out;
    for (const std::string& name : nm::LoadCommandCatalogue(host, file))
        out += name + "\n";
    return WriteAll(stdout, out) ? 0 : 1;
}

void PrintHelp() {
    std::fputs(Usage, stdout);
    std::fputs("\n", stdout);
    std::fputs(Help, stdout);
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
#ifdef _WIN32
    // The bytes a save would write, as they are: no LF turned into CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
#ifdef _WIN32
    // The arguments as typed, as UTF-8: the ANSI form loses every character
    // of a file name that the system code page lacks.
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        args.clear();
        for (int i = 1; i < count; ++i)
            args.push_back(nm::Narrow(wide[i]));
        LocalFree(wide);
    }
#endif
    if (args.empty())
        return UsageError("no command given");
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h" || arg == "help") {
            PrintHelp();
            return 0;
        }
    }
    Options options;
    options.command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (options.command == "locate")
        return Locate(rest);
    if (options.command == "catalogue" || options.command == "catalog")
        return Catalogue(rest);
    if (options.command == "check")
        return nm::RunCheck(rest);
    if (options.command != "normalize" && options.command != "list")
        return UsageError(("unknown command '" + options.command + "'").c_str());
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const std::string& arg = rest[i];
        const bool normalize = options.command == "normalize";
        if (arg == "--import") {
            if (++i == rest.size())
                return UsageError("--import needs a file");
            options.imports.push_back(rest[i]);
        } else if (normalize && arg == "--export") {
            options.exporting = true;
        } else if (normalize && arg == "--backup") {
            options.backup = true;
        } else if (normalize && arg == "-o") {
            if (++i == rest.size())
                return UsageError("-o needs a file");
            options.output = rest[i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError(("unknown option '" + arg + "'").c_str());
        } else if (options.file.empty()) {
            options.file = arg;
        } else {
            return UsageError("more than one FILE given");
        }
    }
    if (options.file.empty())
        return UsageError("no FILE given");
    if (options.backup && options.output.empty())
        return UsageError("--backup needs -o OUT");
    if (options.backup && options.exporting)
        return UsageError("an export keeps no backup");

    nm::ConsolePrompter prompter(stderr);
    nm::NoFileDialogs dialogs;
    const auto host = nm::MakeSystemHostLink();
    const auto clock = nm::MakeSystemClock();
    nm::QuietView view(options.backup);
    nm::Main main(nm::Services{prompter, dialogs, *host, *clock, view});
    try {
        if (!Load(main, options))
            return 1;
        return options.command == "list" ? List(main) : Normalize(main, options);
    } catch (const nm::RuntimeError& error) {
        std::fprintf(stderr, "pgptool: %s (error %d)\n", error.Description().c_str(),
                     static_cast<int>(error.Number()));
        return 1;
    } catch (const nm::ProgramEnd& end) {
        return end.exitCode;
    }
}
