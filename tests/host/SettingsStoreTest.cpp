// The settings kept between runs in the user's INI file.
#include "host/SettingsStore.h"
#include "host/RuntimeError.h"
#include "tests/support/Doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using nm::IniSettingsStore;
using nm::test::TempDir;

namespace {

nm::SystemFileSystem files;

// The editor's own names, with the trailing blanks it has always used.
const std::string App = "Tessaron 应用软件        ";
const std::string Editor = "Vectrom 热键编辑器       ";
const std::string Confirm = "确认     ";

} // namespace

TEST(SettingsStore, ValuesComeBackThroughAnotherStoreOnTheSameFile) {
    TempDir dir;
    const std::string path = dir.Path("config/nickmaker/settings.ini"); // folders made on save
    // Saved in order; the same key in another section, or without the blanks, is another setting.
    const std::vector<std::array<std::string, 3>> saves = {{Editor, Confirm, "True"},
                                                           {"Other", Confirm, "0"},
                                                           {Editor, "确认", "bare"},
                                                           {Editor, Confirm, "False  "}};
    for (const auto& [section, key, value] : saves)
        IniSettingsStore(files, path).SaveSetting(App, section, key, value);
    IniSettingsStore reader(files, path);
    for (std::size_t i = 1; i < saves.size(); ++i) // the first was saved over
        EXPECT_EQ(reader.GetSetting(App, saves[i][0], saves[i][1], "?"), saves[i][2]);
    EXPECT_EQ(IniSettingsStore(files, dir.Path("none.ini")).GetSetting(App, Editor, Confirm, "fb"),
              "fb");
}

TEST(SettingsStore, SavingKeepsEveryOtherLineAsItWas) {
    TempDir dir;
    const std::string before = "; kept\r\n[a\\b]\r\nk=1\r\n k =2\n\n[x\\y]]\nk=3\n[a\\b]\nk=late";
    IniSettingsStore store(files, dir.Write("s.ini", before));
    // CR ends no value, names are not trimmed, and the first block of a section counts.
    for (const auto& [app, section, key, value] :
         std::vector<std::array<std::string, 4>>{{"a", "b", "k", "1"},
                                                 {"a", "b", " k ", "2"},
                                                 {"x", "y]", "k", "3"},
                                                 {"a", "c", "k", "?"}})
        EXPECT_EQ(store.GetSetting(app, section, key, "?"), value) << key;
    // Application, section, key, value, and the file afterwards.
    const std::vector<std::array<std::string, 5>> cases = {
        {"a", "b", "k", "9", "; kept\r\n[a\\b]\r\nk=9\n k =2\n\n[x\\y]]\nk=3\n[a\\b]\nk=late\n"},
        {"a", "b", "n", "",
         "; kept\r\n[a\\b]\r\nk=1\r\n k =2\nn=\n\n[x\\y]]\nk=3\n[a\\b]\nk=late\n"},
        {"x", "y]", "k", "4", "; kept\r\n[a\\b]\r\nk=1\r\n k =2\n\n[x\\y]]\nk=4\n[a\\b]\nk=late\n"},
        {"a", "c", "k", "5", before + "\n\n[a\\c]\nk=5\n"}};
    for (const auto& [app, section, key, value, after] : cases) {
        dir.Write("s.ini", before);
        store.SaveSetting(app, section, key, value);
        EXPECT_EQ(dir.Read("s.ini"), after) << section << key;
    }
}

TEST(SettingsStore, RefusesWhatTheFileCouldNotGiveBack) {
    TempDir dir;
    IniSettingsStore store(files, dir.Write("s.ini", "[a\\b]\nk=1\n"));
    for (const auto& [section, key, value] :
         std::vector<std::array<std::string, 3>>{{"b", "k=", "v"},
                                                 {"b", "[k]", "v"},
                                                 {"b", "k", "v\r"},
                                                 {"b", "k", "v\nw"},
                                                 {"b\n", "k", "v"}}) {
        EXPECT_THAT([&] { store.SaveSetting("a", section, key, value); },
                    testing::Throws<nm::RuntimeError>(
                        testing::Property(&nm::RuntimeError::Number, nm::Err::InvalidCall)))
            << key;
        EXPECT_EQ(dir.Read("s.ini"), "[a\\b]\nk=1\n");
    }
}
