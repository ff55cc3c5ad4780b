// pgptool: the editor's file work without a window.
#include "tools/pgptool/CheckCommand.h"
#include "tools/pgptool/CommandLine.h"

#include "catalog/CommandCatalogue.h"
#include "core/Document.h"
#include "core/Export.h"
#include "core/Main.h"
#include "core/PgpWriter.h"
#include "host/FileIo.h"
#include "host/HostKeys.h"
#include "host/HostProfiles.h"
#include "host/Locator.h"
#include "host/Memory.h"
#include "host/MemoryRegistry.h"
#include "host/Paths.h"
#include "host/RuntimeError.h"
#include "host/Unattended.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Arguments {
    std::string file;
    std::vector<std::string> files; // of check
    std::vector<std::string> imports;
    std::string output;
    std::string catalogue;
    bool exporting = false;
    bool backup = false;
    bool verbose = false;
    bool json = false;
    bool all = false; // of locate
    bool strict = false;
};

// What the arguments after the command word may be, and what it does with them.
struct Command {
    std::vector<std::string> names;
    const char* synopsis;
    bool ownUsage; // a usage error shows this command's synopsis alone
    void (*define)(CLI::App& app, Arguments& into);
    // The first argument the command does not take, as the usage error says it
    // ("" when there is none); `free` are the arguments that are no options
    // nor their values, `stray` those of them that the parser left.
    std::string (*judge)(const std::vector<std::string>& free,
                         const std::vector<std::string>& stray);
    // What must hold of the whole command line.
    std::string (*rules)(const Arguments& parsed);
    int (*run)(const Arguments& parsed);
};

bool LooksLikeOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

std::string UnknownOption(const std::string& arg) {
    return "unknown option '" + arg + "'";
}

// Of the arguments not taken, the one given first.
const std::string* FirstOf(const std::vector<std::string>& args,
                           const std::vector<std::string>& stray) {
    const auto first = std::find_if(args.begin(), args.end(), [&](const std::string& arg) {
        return std::find(stray.begin(), stray.end(), arg) != stray.end();
    });
    return first == args.end() ? nullptr : &*first;
}

// Options are only ever the ones named; every other argument is a FILE.
std::string JudgeFiles(const std::vector<std::string>& args,
                       const std::vector<std::string>& stray) {
    const std::string* first = FirstOf(args, stray);
    if (first == nullptr)
        return {};
    return LooksLikeOption(*first) ? UnknownOption(*first) : "more than one FILE given";
}

bool WriteAll(const std::string& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
           std::fflush(stdout) == 0;
}

// Runs `work` on a document opened and imported as the editor does; a
// run-time error ends it with status 1.
template <typename Work> int WithDocument(const Arguments& a, Work work) {
    nm::ConsolePrompter prompter(stderr, "pgptool");
    nm::NoFileDialogs dialogs;
    nm::NoHostLink host;
    const auto clock = nm::MakeSystemClock();
    nm::QuietView view(a.backup);
    nm::SystemFileSystem files;
    nm::Main main(nm::Services{prompter, dialogs, host, *clock, view, files});
    try {
        const std::string& file = a.file;
        if (nm::OpenPgpFile(main, file, false) != nm::ReadResult::Completed)
            return 1;
        main.CurrentFile = file;
        main.FileChanged = 0;
        for (const std::string& import : a.imports) {
            if (nm::OpenPgpFile(main, import, true) != nm::ReadResult::Completed)
                return 1;
            main.FileChanged = 1;
        }
        return work(main);
    } catch (const nm::RuntimeError& error) {
        std::fprintf(stderr, "pgptool: %s (error %d)\n", error.Description().c_str(),
                     static_cast<int>(error.Number()));
        return 1;
    } catch (const nm::ProgramEnd& end) {
        return end.exitCode;
    }
}

int Normalize(const Arguments& a) {
    return WithDocument(a, [&](nm::Main& main) {
        if (!nm::RowsFitInFile(main))
            return 1;
        if (a.output.empty())
            return WriteAll(nm::FileBytes(nm::PgpFileText(main, a.exporting), main.FileEncoding))
                       ? 0
                       : 1;
        if (a.exporting) {
            nm::WriteTextFile(main.svc.files, a.output, nm::ExportText(main), main.FileEncoding);
            return 0;
        }
        return nm::SavePgpFile(main, a.output, nm::FileNamePart(a.output), true,
                               /*notify=*/false)
                   ? 0
                   : 1;
    });
}

int List(const Arguments& a) {
    return WithDocument(a, [](nm::Main& main) {
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
        return WriteAll(out) ? 0 : 1;
    });
}

using Json = nlohmann::ordered_json;

Json FileJson(const std::string& file) {
    return file.empty() ? Json(nullptr) : Json(file);
}

Json TraceJson(const nm::LocateTrace& trace, const std::string& file) {
    return {{"view", nm::ViewName(trace.view)},
            {"release", trace.release},
            {"product", trace.product},
            {"profile", trace.profile},
            {"searchList", trace.searchList},
            {"searched", trace.searched},
            {"file", FileJson(file)}};
}

Json ReleasesJson(const std::vector<nm::HostRelease>& releases) {
    Json out = Json::array();
    for (const nm::HostRelease& release : releases) {
        Json products = Json::array();
        for (const nm::HostProduct& product : release.products) {
            Json profiles = Json::array();
            for (const nm::HostProfile& profile : product.profiles)
                profiles.push_back({{"name", profile.name},
                                    {"current", profile.current},
                                    {"searchList", profile.searchList},
                                    {"searched", profile.searched},
                                    {"file", FileJson(profile.file)}});
            products.push_back(
                {{"name", product.name}, {"current", product.current}, {"profiles", profiles}});
        }
        out.push_back({{"name", release.name},
                       {"view", nm::ViewName(release.view)},
                       {"current", release.current},
                       {"products", products}});
    }
    return out;
}

// One line per release, product and profile, each level indented under the
// one above, the current ones marked "*"; under a profile its search list
// and its file, or the folders searched in vain.
std::string ReleasesText(const std::vector<nm::HostRelease>& releases) {
    const auto mark = [](bool current) { return current ? "* " : "  "; };
    std::string out;
    for (const nm::HostRelease& release : releases) {
        out += "release " + std::string(mark(release.current)) + release.name +
               " (registry view: " + nm::ViewName(release.view) + ")\n";
        if (release.products.empty())
            out += "  no products\n";
        for (const nm::HostProduct& product : release.products) {
            out += "  product " + std::string(mark(product.current)) + product.name + "\n";
            if (product.profiles.empty())
                out += "    no profiles of this user\n";
            for (const nm::HostProfile& profile : product.profiles) {
                out += "    profile " + std::string(mark(profile.current)) + profile.name + "\n";
                out += profile.searchList.empty()
                           ? "      (no search list: current folder and PATH)\n"
                           : "      search list: " + profile.searchList + "\n";
                if (!profile.file.empty()) {
                    out += "      file: " + profile.file + "\n";
                    continue;
                }
                out +=
                    "      no " + std::string(nm::HostPgpFileName) + " in the folders searched:\n";
                for (const std::string& folder : profile.searched)
                    out += "        " + folder + "\n";
            }
        }
    }
    return releases.empty() ? "no release of the host in the registry\n" : out;
}

int Locate(const Arguments& a) {
    nm::ConsolePrompter prompter(stderr, "pgptool");
    nm::SystemFileSystem files;
    const auto registry = nm::MakeSystemRegistry(files);
    nm::HostContext host = nm::SystemHostContext(prompter, *registry);
    nm::LocateTrace trace;
    const std::string found = nm::FindHostPgpFile(host, &trace);
    if (a.verbose) {
        std::fprintf(stderr,
                     "registry view: %s\nrelease: %s\nproduct: %s\nprofile: %s\nsearch list: %s\n",
                     nm::ViewName(trace.view).c_str(), trace.release.c_str(), trace.product.c_str(),
                     trace.profile.c_str(), trace.searchList.c_str());
        for (const std::string& folder : trace.searched)
            std::fprintf(stderr, "searched: %s\n", folder.c_str());
    }
    if (!a.all && !a.json)
        return !found.empty() && WriteAll(found + "\n") ? 0 : 1;
    const std::vector<nm::HostRelease> releases =
        a.all ? nm::ListHostProfiles(host) : std::vector<nm::HostRelease>();
    std::string out = ReleasesText(releases);
    if (a.json) {
        Json json = TraceJson(trace, found);
        if (a.all)
            json = {{"current", json}, {"releases", ReleasesJson(releases)}};
        out = json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    }
    return WriteAll(out) && !found.empty() ? 0 : 1;
}

int Catalogue(const Arguments& a) {
    nm::ConsolePrompter prompter(stderr, "pgptool");
    nm::MemoryRegistry noRegistry;
    nm::SystemFileSystem files;
    const nm::HostContext host{prompter, noRegistry, nm::ProgramFolder(),
                               {},       {},         nm::UserCatalogueFile()};
    const std::string& file = a.file;
    if (!file.empty() && !nm::FileExists(files, file)) {
        std::fprintf(stderr, "pgptool: %s: no such catalogue file\n", file.c_str());
        return 1;
    }
    std::string out;
    for (const std::string& name : nm::LoadCommandCatalogue(files, host, file))
        out += name + "\n";
    return WriteAll(out) ? 0 : 1;
}

std::string NoRules(const Arguments&) {
    return {};
}

std::string NeedsFile(const Arguments& a) {
    return a.file.empty() && a.files.empty() ? "no FILE given" : "";
}

void Imports(CLI::App& app, Arguments& a) {
    app.add_option("--import", a.imports)->allow_extra_args(false);
    app.add_option("FILE", a.file);
}

const std::array<Command, 5> Commands{{
    {{"normalize"},
     "normalize [--export] [--import FILE]... [-o OUT [--backup]] FILE",
     false,
     [](CLI::App& app, Arguments& a) {
         Imports(app, a);
         app.add_flag("--export", a.exporting);
         app.add_option("-o", a.output)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
         app.add_flag("--backup", a.backup);
     },
     JudgeFiles,
     [](const Arguments& a) -> std::string {
         if (a.file.empty())
             return "no FILE given";
         if (a.backup && a.output.empty())
             return "--backup needs -o OUT";
         return a.backup && a.exporting ? "an export keeps no backup" : "";
     },
     Normalize},
    {{"list"}, "list [--import FILE]... FILE", false, Imports, JudgeFiles, NeedsFile, List},
    {{"locate"},
     "locate [-v] [--all] [--json]",
     false,
     [](CLI::App& app, Arguments& a) {
         app.add_flag("-v", a.verbose);
         app.add_flag("--all", a.all);
         app.add_flag("--json", a.json);
     },
     [](const std::vector<std::string>& args, const std::vector<std::string>& stray) {
         const std::string* first = FirstOf(args, stray);
         return first ? "unknown argument '" + *first + "'" : std::string();
     },
     NoRules,
     Locate},
    {{"catalogue", "catalog"},
     "catalogue [FILE]",
     false,
     [](CLI::App& app, Arguments& a) { app.add_option("FILE", a.file); },
     [](const std::vector<std::string>& args, const std::vector<std::string>& stray) {
         return args.size() > 1 ? "more than one FILE given" : JudgeFiles(args, stray);
     },
     NoRules,
     Catalogue},
    {{"check"},
     "check [--catalogue FILE] [--json] [--strict] FILE...",
     true,
     [](CLI::App& app, Arguments& a) {
         app.add_option("--catalogue,--catalog", a.catalogue)
             ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
         app.add_flag("--json", a.json);
         app.add_flag("--strict", a.strict);
         app.add_option("FILE", a.files);
     },
     JudgeFiles,
     NeedsFile,
     [](const Arguments& a) {
         return nm::RunCheck({a.files, a.catalogue, a.json, a.strict});
     }},
}};

// The positions of the arguments that are neither options of the command nor
// their values.
std::vector<std::size_t> Free(const CLI::App& app, const std::vector<std::string>& args) {
    std::vector<std::size_t> free;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const CLI::Option* option = app.get_option_no_throw(args[i]);
        if (option == nullptr || option->get_positional())
            free.push_back(i);
        else if (option->get_type_size_max() > 0)
            ++i;
    }
    return free;
}

// CLI11 also reads "--name=value", "-oVALUE" and "-vv"; pgptool never did, so
// such an argument is an option it lacks.
bool Joined(const CLI::App& app, const std::string& arg) {
    const std::string name = arg.substr(0, arg.rfind("--", 0) == 0 ? arg.find('=') : 2);
    return LooksLikeOption(arg) && name != arg && app.get_option_no_throw(name) != nullptr;
}

// Parses the arguments after the command word into `parsed`; the first rule
// they break, in the order given, or "".
std::string Parse(const Command& command, const std::vector<std::string>& args, Arguments& parsed) {
    CLI::App app;
    app.set_help_flag(); // any "--help", "-h" or "help" was answered before
    app.allow_extras();
    app.allow_windows_style_options(false); // "/work/x.pgp" is a FILE on Windows too
    command.define(app, parsed);
    // What comes before a broken argument is judged first.
    const auto before = [&](std::size_t end) {
        Arguments ignored;
        return Parse(command, {args.begin(), args.begin() + static_cast<std::ptrdiff_t>(end)},
                     ignored);
    };
    std::vector<std::string> free;
    for (const std::size_t i : Free(app, args)) {
        free.push_back(args[i]);
        if (Joined(app, args[i])) {
            const std::string broken = before(i);
            return broken.empty() ? command.judge(free, {args[i]}) : broken;
        }
    }
    try {
        app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::ArgumentMismatch& error) {
        // Only the last argument can lack its value.
        const CLI::Option* option = app.get_option_no_throw(args.back());
        if (option == nullptr)
            return error.what();
        const std::string broken = before(args.size() - 1);
        return broken.empty() ? option->get_name() + " needs a file" : broken;
    } catch (const CLI::ParseError& error) {
        return error.what();
    }
    // A FILE never begins with "-": such an argument is an option pgptool lacks.
    std::vector<std::string> stray = app.remaining();
    if (LooksLikeOption(parsed.file))
        stray.push_back(parsed.file);
    std::copy_if(parsed.files.begin(), parsed.files.end(), std::back_inserter(stray),
                 LooksLikeOption);
    return command.judge(free, stray);
}

std::string Usage() {
    std::string usage;
    for (const Command& command : Commands)
        usage += (usage.empty() ? "usage: pgptool " : "       pgptool ") +
                 std::string(command.synopsis) + "\n";
    return usage;
}

int UsageError(const std::string& why, const Command* command = nullptr) {
    const std::string usage = command && command->ownUsage
                                  ? "usage: pgptool " + std::string(command->synopsis) + "\n"
                                  : Usage();
    std::fprintf(stderr, "pgptool: %s\n%s", why.c_str(), usage.c_str());
    return 2;
}

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
    "      --all        instead list every release of the host with its registry\n"
    "                   view (the 32-bit view's first), its products and the\n"
    "                   current user's profiles: 'release', 'product' and\n"
    "                   'profile' lines indented by level, '*' marking the\n"
    "                   current ones; under each profile its search list, then\n"
    "                   'file: PATH' or the folders searched in vain.\n"
    "      --json       print the current profile's search as one JSON object\n"
    "                   (view, release, product, profile, searchList, searched,\n"
    "                   file; a file not found is null); with --all,\n"
    "                   {\"current\": that, \"releases\": [...]}: each release's\n"
    "                   name, view, current and products, each product's name,\n"
    "                   current and profiles, each profile's name, current,\n"
    "                   searchList, searched and file.\n"
    "                   Exit status, with these too: 0 when the current profile's\n"
    "                   file is found, 1 otherwise.\n"
    "\n"
    "  catalogue [FILE] print the command names the editor loads from the\n"
    "                   catalogue FILE (default: alias.pgc in the program's folder,\n"
    "                   then the user's own, $XDG_DATA_HOME/nickmaker/alias.pgc),\n"
    "                   one per line, in the order read.\n"
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
    "                   the one 'catalogue' prints; no such check when it is empty).\n"
    "      --json       print the findings as one JSON document instead.\n"
    "      --strict     warnings fail the check too.\n"
    "                   Exit status: 0 no errors (with --strict, no warnings),\n"
    "                   1 otherwise, 2 usage error or a FILE that cannot be read.\n"
    "\n"
    "Messages the editor would show go to standard error; every question is\n"
    "answered Yes. Exit status: 0 done, 1 a file could not be read or written,\n"
    "2 usage error.\n";

} // namespace

int main(int argc, char** argv) {
    nm::KeepFreedMemory();
    std::setlocale(LC_ALL, "");
    const std::vector<std::string> args = nm::CommandLineArguments(argc, argv);
    if (args.empty())
        return UsageError("no command given");
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h" || arg == "help") {
            std::fputs((Usage() + "\n" + Help).c_str(), stdout);
            return 0;
        }
    }
    const auto command = std::find_if(Commands.begin(), Commands.end(), [&](const Command& c) {
        return std::find(c.names.begin(), c.names.end(), args[0]) != c.names.end();
    });
    if (command == Commands.end())
        return UsageError("unknown command '" + args[0] + "'");
    Arguments parsed;
    std::string broken = Parse(*command, {args.begin() + 1, args.end()}, parsed);
    if (broken.empty())
        broken = command->rules(parsed);
    if (!broken.empty())
        return UsageError(broken, &*command);
    return command->run(parsed);
}
