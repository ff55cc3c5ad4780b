#include "catalog/CommandCatalogue.h"

#include "host/MemoryRegistry.h"
#include "host/Utf8.h"
#include "tests/support/Doubles.h"
#include "tests/support/FailingFileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <utility>

namespace nm {
namespace {

using Names = std::vector<std::string>;

const std::string Separator(1, static_cast<char>(std::filesystem::path::preferred_separator));

class CatalogueTest : public ::testing::Test {
protected:
    CatalogueTest() { std::filesystem::create_directories(dir.Path("prog")); }

    std::string Put(const std::string& name, const std::string& bytes) {
        return dir.Write("prog/" + name, bytes);
    }
    std::string MissingText(const std::string& name) const {
        return "支持文件" + std::string(12, ' ') + dir.Path("prog") + Separator + name +
               "未找到. 请移动到与 ALIAS.EXE 相同的文件夹或者重新安装 Zentro Tools.";
    }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    MemoryRegistry registry;
    SystemFileSystem files;
    HostContext host{prompter, registry, dir.Path("prog"), ""};
};

// Included files are read as plain name lists, with one repeat memory for
// all of them apart from the main file's.
TEST_F(CatalogueTest, ReadsItemsAndIncludesAndDropsDirectRepeats) {
    const struct {
        const char* main;
        std::vector<std::pair<std::string, std::string>> included;
        Names expected;
        Names told; // what the user is told of files not found, in order
    } cases[] = {
        // clang-format off
        {"LINE\r\nline\r\nARC\r\nLINE\r\n", {}, {"LINE", "ARC", "LINE"}, {}},
        {"LINE\r\n// draws\r\nLINE\r\n", {}, {"LINE", "LINE"}, {}},
        {"  \"X,Y\" ignored, Z\r\n", {}, {"X,Y", "Z"}, {}},
        {"  LINE \t\r\rARC\nPOINT\r\n\r\n   \r\nCIRCLE", {}, {"LINE", "ARC", "POINT", "CIRCLE"}, {}},
        {"A,,B,\r\n\"\"\r\nb\r\n", {}, {"A", "B"}, {}},
        {"LINE\r\n#include \"one.pgc\"\r\n#INCLUDE \"two.pgc\"\r\nLINE\r\n", {{"one.pgc", "LINE\r\nARC\r\n"}, {"two.pgc", "arc\r\nPOINT\r\n"}}, {"LINE", "LINE", "ARC", "POINT", "LINE"}, {}},
        {"#incl\r\n#include x\r\n#include \"\"\r\nLINE\r\n", {}, {"LINE"}, {}},
        {"#include \"gone.pgc\"\r\nLINE\r\n", {}, {"LINE"}, {MissingText("gone.pgc")}},
        // clang-format on
    };
    for (const auto& c : cases) {
        prompter.shown.clear();
        Put("alias.pgc", c.main);
        for (const auto& [name, text] : c.included)
            Put(name, text);
        EXPECT_EQ(LoadCommandCatalogue(files, host), c.expected) << c.main;
        EXPECT_EQ(prompter.Texts(), c.told) << c.main;
    }
    const MessageBox& box = prompter.shown.back();
    EXPECT_EQ(std::tuple(box.title, box.buttons, box.icon),
              std::tuple("文件未找到", Buttons::OK, Icon::None));
}

// A file named on the command line is read as it is, or quietly not at all.
TEST_F(CatalogueTest, AFileNamedByTheUserIsReadAsItIs) {
    EXPECT_TRUE(LoadCommandCatalogue(files, host, dir.Path("nowhere.pgc")).empty());
    EXPECT_EQ(LoadCommandCatalogue(files, host, dir.Write("own.pgc", "ARC\r\n")), Names{"ARC"});
    EXPECT_TRUE(prompter.shown.empty());
}

// A command the catalogue knows is not offered; Yes appends a new one (in the
// file's own form), No leaves both alone, and without a catalogue the name is
// still known for the rest of the run.
TEST_F(CatalogueTest, OffersAnUnknownCommandOnce) {
    const std::string question = "'MYLINE' 是一个新的命令. 你想增加到你的命令列表吗?";
    const struct {
        std::optional<std::string> before; // the catalogue, if there is one
        Answer answer;
        const char* command;
        std::string after;
        bool added; // to the list, after offering the command twice
        std::vector<std::string> boxes;
    } cases[] = {
        // clang-format off
        {"LINE\r\n", Answer::Yes, "lInE", "LINE\r\n", false, {}},
        {"LINE\r\n", Answer::No, "myline", "LINE\r\n", false, {question, question}},
        {"LINE\r\n", Answer::Yes, "myline", "LINE\r\n\"MYLINE\"\r\n", true, {question}},
        {"LINE", Answer::Yes, "MyLine", "LINE\r\n\"MYLINE\"\r\n", true, {question}},
        {"LINE\r", Answer::Yes, "myline", "LINE\r\"MYLINE\"\r\n", true, {question}},
        {"\xEF\xBB\xBFLINE\r\n", Answer::Yes, "myline", "\xEF\xBB\xBFLINE\r\n\"MYLINE\"\r\n", true, {question}},
        {"\xD6\xD0\xCE\xC4\r\n", Answer::Yes, "画线", "\xD6\xD0\xCE\xC4\r\n\"\xBB\xAD\xCF\xDF\"\r\n", true, {"'画线' 是一个新的命令. 你想增加到你的命令列表吗?"}},
        {std::nullopt, Answer::Yes, "myline", "", true, {question, MissingText("alias.pgc")}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        std::filesystem::remove(dir.Path("prog/alias.pgc"));
        if (c.before)
            Put("alias.pgc", *c.before);
        prompter.shown.clear();
        prompter.answers = {c.answer, c.answer};
        Names list{"ARC", "Line"};
        OfferNewCommand(files, host, c.command, list);
        OfferNewCommand(files, host, c.command, list);
        EXPECT_EQ(list,
                  c.added ? Names({"ARC", "Line", UpperCase(c.command)}) : Names({"ARC", "Line"}));
        EXPECT_EQ(prompter.Texts(), c.boxes);
        EXPECT_EQ(c.before ? dir.Read("prog/alias.pgc") : "", c.after);
    }
    const MessageBox& box = prompter.shown.front();
    EXPECT_EQ(std::tuple(box.title, box.buttons, box.icon),
              std::tuple("增加命令?", Buttons::YesNo, Icon::None));
}

// A catalogue of the user's own is read after the program's. A new name goes
// to it once it is there, or when the user may not write the program's (it is
// made then, with a note); else to the program's.
TEST_F(CatalogueTest, TheUsersOwnIsReadLastAndGrowsWhereTheProgramsMayNotBeWritten) {
    host.userCatalogue = dir.Path("data/nickmaker/alias.pgc");
    using Text = std::optional<std::string>;
    for (const auto& [writable, own, programAfter, ownAfter, read] :
         std::vector<std::tuple<bool, Text, std::string, Text, Names>>{
             // clang-format off
             {true, {}, "LINE\r\n\"MYLINE\"\r\n", {}, {"LINE", "MYLINE"}},
             {false, {}, "LINE\r\n", "// Command names you added in the editor. The program's own catalogue is read first.\r\n\"MYLINE\"\r\n", {"LINE", "MYLINE"}},
             {true, "ARC\r\n", "LINE\r\n", "ARC\r\n\"MYLINE\"\r\n", {"LINE", "ARC", "MYLINE"}}}) {
        // clang-format on
        std::filesystem::remove_all(dir.Path("data"));
        if (own && std::filesystem::create_directories(dir.Path("data/nickmaker")))
            dir.Write("data/nickmaker/alias.pgc", *own);
        Put("alias.pgc", "LINE\r\n");
        test::FailingFileSystem guarded;
        if (!writable)
            guarded.FailNext(test::FsCall::CheckWrite, std::errc::permission_denied);
        prompter.answers = {Answer::Yes};
        Names list{"LINE"};
        OfferNewCommand(guarded, host, "myline", list);
        const bool made = std::filesystem::exists(host.userCatalogue);
        EXPECT_EQ(std::pair(dir.Read("prog/alias.pgc"),
                            made ? dir.Read("data/nickmaker/alias.pgc") : Text()),
                  std::pair(programAfter, ownAfter));
        EXPECT_EQ(LoadCommandCatalogue(files, host), read);
    }
}

} // namespace
} // namespace nm
