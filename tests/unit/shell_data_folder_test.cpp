// Finding the game's files before start-up: which place wins, what the failure line names, and paths
// from the command line after the game has moved into its data folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "shell/data_folder.h"
#include "tests/support/headless.h"

namespace {

enum Place { kNone, kVariable, kWorking, kBeside };

// For each place, a folder that holds the files and one that does not: the working folder's has a stray
// gui.bmp, the variable's every picture and map of the game but its last one.
struct DataFolders {
    TempDir withData[3], without[3];
    DataFolders()
    {
        for (int place = 0; place < 3; ++place) {
            for (const char* name : kDataFiles) writeFile(withData[place].file(name), "BM");
        }
        writeFile(without[kWorking - 1].file("gui.bmp"), "BM");
        for (const char* name : kDataFiles) writeFile(without[kVariable - 1].file(name), "BM");
        std::filesystem::remove(without[kVariable - 1].file(std::end(kDataFiles)[-1]));
    }
    std::string at(Place place, bool holds) const { return (holds ? withData : without)[place - 1].path(); }
};

TEST(DataFolder, TheWorkingFolderWinsThenTheVariableWhichIsNotSecondGuessedThenBesideTheExecutable)
{
    const DataFolders folders;
    const struct { bool variableSet, variableHolds, workingHolds, besideHolds; Place wins; } cases[] = {
        {true, true, true, true, kWorking},   {true, true, false, true, kVariable},
        {true, false, false, true, kNone},    {true, false, true, false, kWorking},
        {false, false, true, true, kWorking}, {false, false, false, true, kBeside},
        {false, false, false, false, kNone},
    };
    for (const auto& c : cases) {
        const std::string variable = folders.at(kVariable, c.variableHolds);
        const DataFolderPlaces places = {c.variableSet ? variable.c_str() : nullptr,
                                         folders.at(kWorking, c.workingHolds), folders.at(kBeside, c.besideHolds)};
        const DataFolderChoice choice = chooseDataFolder(places);
        SCOPED_TRACE("wins " + std::to_string(c.wins) + ", failure: " + choice.failure);
        EXPECT_EQ(choice.folder, c.wins == kNone ? "" : folders.at(c.wins, true));
        // A failure names every place that was looked at; none is looked at past the variable.
        for (const std::string& tried : {variable, places.workingFolder, places.besideExecutable}) {
            const bool looked = tried == places.workingFolder || (c.variableSet == (tried == variable));
            EXPECT_EQ(choice.failure.find(tried) != std::string::npos, c.wins == kNone && looked) << tried;
        }
    }
}

TEST(DataFolder, CommandLinePathsKeepPointingIntoTheFolderTheGameStartedIn)
{
    const DataFolders folders;
    const std::string bare = folders.at(kWorking, false), holding = folders.at(kWorking, true);
    const std::string variable = folders.at(kVariable, true);
    struct Case {
        const std::string& start;
        const char* variable;  // nullptr: unset
        const char* path;
        std::string expectedPath;
        const std::string& expectedFolder;
    } const cases[] = {
        {bare, variable.c_str(), "maps/mine.fmp", bare + "/maps/mine.fmp", variable},
        {bare, variable.c_str(), "/abs/mine.fmp", "/abs/mine.fmp", variable},
        // Staying put: the name as typed, so that messages show it as before.
        {holding, nullptr, "mine.fmp", "mine.fmp", holding},
    };
    for (const Case& c : cases) {
        const ScopedChdir back(c.start);
        c.variable ? setenv(kDataFolderVariable, c.variable, 1) : unsetenv(kDataFolderVariable);
        EXPECT_EQ(enterDataFolder(), "");
        EXPECT_EQ(std::filesystem::current_path().string(), c.expectedFolder);
        EXPECT_EQ(pathFromStartFolder(c.path), c.expectedPath);
    }
    unsetenv(kDataFolderVariable);
}

}  // namespace
