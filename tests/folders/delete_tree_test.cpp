#include "folders/delete_tree.h"

#include <string>
#include <vector>

#include "tests/sim_fixture.h"

namespace {

using Texts = std::vector<std::string>;

const char kTop[] = "C:\\HB\\K582T";

class DeleteTreeTest : public SimulatedWindows {
  protected:
    // "Function text" for every call, a failed one marked.
    static Texts Trace() {
        Texts trace;
        for (const sim::Call &call : sim::Calls())
            trace.push_back(call.function + (call.text.empty() ? "" : " " + call.text) +
                            (call.failed ? " (fails)" : ""));
        return trace;
    }
};

TEST_F(DeleteTreeTest, CallSequenceOfATwoLevelTree) {
    sim::WriteFile("C:\\HB\\K582T\\a.txt", "");
    sim::WriteFile("C:\\HB\\K582T\\bin\\b.txt", "");
    DeleteFolderTree(kTop);
    EXPECT_EQ(Trace(),
              (Texts{"FindFirstFileA C:\\HB\\K582T\\*.*", "FindNextFileA ..", "FindNextFileA a.txt",
                     "DeleteFileA C:\\HB\\K582T\\a.txt", "FindNextFileA bin",
                     "FindFirstFileA C:\\HB\\K582T\\bin.\\*.*", "FindNextFileA ..",
                     "FindNextFileA b.txt", "DeleteFileA C:\\HB\\K582T\\bin.\\b.txt",
                     "FindNextFileA (fails)", "FindClose", "RemoveDirectoryA C:\\HB\\K582T\\bin.",
                     "FindNextFileA (fails)", "FindClose", "RemoveDirectoryA C:\\HB\\K582T"}));
    EXPECT_FALSE(sim::Exists(kTop));
    EXPECT_TRUE(sim::Exists("C:\\HB"));
}

TEST_F(DeleteTreeTest, MissingFolder) {
    DeleteFolderTree(kTop);
    EXPECT_EQ(Trace(), (Texts{"FindFirstFileA C:\\HB\\K582T\\*.* (fails)",
                              "RemoveDirectoryA C:\\HB\\K582T (fails)"}));
}

TEST_F(DeleteTreeTest, EmptyFolder) {
    sim::MakeFolder(kTop);
    DeleteFolderTree(kTop);
    EXPECT_EQ(Trace(),
              (Texts{"FindFirstFileA C:\\HB\\K582T\\*.*", "FindNextFileA ..",
                     "FindNextFileA (fails)", "FindClose", "RemoveDirectoryA C:\\HB\\K582T"}));
    EXPECT_FALSE(sim::Exists(kTop));
}

TEST_F(DeleteTreeTest, WholeTreeGoesWithOneCallPerItem) {
    const Texts files = {"C:\\HB\\K582T\\readme",     "C:\\HB\\K582T\\bin\\x86\\f.txt",
                         "C:\\HB\\K582T\\bin\\g.dll", "C:\\HB\\K582T\\doc\\h.pdf",
                         "C:\\HB\\K582T\\hidden.ini", "C:\\HB\\K582T\\system.dat"};
    for (const std::string &file : files)
        sim::WriteFile(file, "x");
    sim::SetAttributes("C:\\HB\\K582T\\hidden.ini", FILE_ATTRIBUTE_HIDDEN);
    sim::SetAttributes("C:\\HB\\K582T\\system.dat", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    sim::MakeFolder("C:\\HB\\K582T\\empty");
    DeleteFolderTree(kTop);
    EXPECT_FALSE(sim::Exists(kTop));
    EXPECT_EQ(CountCalls("DeleteFileA"), files.size());
    // The top folder and its four sub-folders: bin, bin\x86, doc, empty.
    EXPECT_EQ(CountCalls("FindFirstFileA"), 5u);
    EXPECT_EQ(CountCalls("FindClose"), 5u);
    Texts removals;
    for (const sim::Call &call : sim::Calls())
        if (call.function == "RemoveDirectoryA")
            removals.push_back(call.text);
    EXPECT_EQ(removals, (Texts{"C:\\HB\\K582T\\bin.\\x86.", "C:\\HB\\K582T\\bin.",
                               "C:\\HB\\K582T\\doc.", "C:\\HB\\K582T\\empty.", kTop}));
}

TEST_F(DeleteTreeTest, ReadOnlyFileKeepsItsFolders) {
    sim::WriteFile("C:\\HB\\K582T\\a\\b\\locked.txt", "", FILE_ATTRIBUTE_READONLY);
    sim::WriteFile("C:\\HB\\K582T\\a\\b\\free.txt", "");
    sim::WriteFile("C:\\HB\\K582T\\a\\c\\free.txt", "");
    sim::WriteFile("C:\\HB\\K582T\\top.txt", "");
    DeleteFolderTree(kTop);
    EXPECT_EQ(sim::Tree(kTop), (Texts{"C:\\HB\\K582T\\a", "C:\\HB\\K582T\\a\\b",
                                      "C:\\HB\\K582T\\a\\b\\locked.txt"}));
}

TEST_F(DeleteTreeTest, FileInUseStays) {
    sim::WriteFile("C:\\HB\\K582T\\busy.dll", "");
    sim::SetInUse("C:\\HB\\K582T\\busy.dll", true);
    sim::WriteFile("C:\\HB\\K582T\\other.dll", "");
    DeleteFolderTree(kTop);
    EXPECT_EQ(sim::Tree(kTop), Texts{"C:\\HB\\K582T\\busy.dll"});
}

TEST_F(DeleteTreeTest, EarlyEndOfTheSearch) {
    sim::WriteFile("C:\\HB\\K582T\\a.txt", "");
    sim::WriteFile("C:\\HB\\K582T\\b.txt", "");
    sim::FailCall("FindNextFileA", 2, ERROR_NOT_ENOUGH_MEMORY); // the one that yields a.txt
    DeleteFolderTree(kTop);
    EXPECT_EQ(CountCalls("DeleteFileA"), 0u);
    EXPECT_EQ(CountCalls("FindClose"), 1u);
    EXPECT_EQ(sim::Tree(kTop).size(), 2u);
}

TEST_F(DeleteTreeTest, LinksAreRemovedAndNeverFollowed) {
    sim::WriteFile("C:\\Data\\keep1.txt", "");
    sim::WriteFile("C:\\Data\\deep\\keep2.txt", "");
    sim::WriteFile("C:\\Data\\single.txt", "");
    sim::MakeFolderLink("C:\\HB\\K582T\\to-data", "C:\\Data");
    sim::MakeFolderLink("C:\\HB\\K582T\\sub\\again", "C:\\Data\\deep");
    sim::MakeFileLink("C:\\HB\\K582T\\single.lnk", "C:\\Data\\single.txt");
    sim::WriteFile("C:\\HB\\K582T\\sub\\own.txt", "");
    DeleteFolderTree(kTop);
    EXPECT_FALSE(sim::Exists(kTop));
    EXPECT_EQ(sim::Tree("C:\\Data"), (Texts{"C:\\Data\\deep", "C:\\Data\\deep\\keep2.txt",
                                            "C:\\Data\\keep1.txt", "C:\\Data\\single.txt"}));
    // The folder links go with RemoveDirectoryA on their own path, the file link with
    // DeleteFileA; no search ever enters a link.
    Texts searched;
    for (const sim::Call &call : sim::Calls())
        if (call.function == "FindFirstFileA")
            searched.push_back(call.text);
    EXPECT_EQ(searched, (Texts{"C:\\HB\\K582T\\*.*", "C:\\HB\\K582T\\sub.\\*.*"}));
}

TEST_F(DeleteTreeTest, PathsThatWouldNotFitAreLeftAlone) {
    // Real paths that fit in MAX_PATH, whose formed paths, with a period for each level, may
    // not. The top folder's path has 233 characters.
    std::string top = "C:\\" + std::string(230, 't');
    std::string sub = top + "\\" + std::string(10, 's');
    std::string deleted = sub + "\\" + std::string(13, 'g');   // formed: 259 characters
    std::string skipped = sub + "\\" + std::string(14, 'f');   // formed: 260, no room
    std::string noSearch = top + "\\" + std::string(22, 'u');  // pattern: 261
    std::string noDescent = top + "\\" + std::string(25, 'v'); // "name.": 260
    sim::WriteFile(deleted, "");
    sim::WriteFile(skipped, "");
    sim::WriteFile(noSearch + "\\in", "");
    sim::MakeFolder(noDescent);
    DeleteFolderTree(top.c_str());
    EXPECT_FALSE(sim::Exists(deleted));
    EXPECT_TRUE(sim::Exists(skipped));
    EXPECT_TRUE(sim::Exists(noSearch + "\\in"));
    EXPECT_TRUE(sim::Exists(noDescent));
    // A folder whose search cannot be formed counts as one without entries: its removal is
    // still attempted. One whose own path cannot be formed is not visited at all.
    Texts removals;
    for (const sim::Call &call : sim::Calls())
        if (call.function == "RemoveDirectoryA")
            removals.push_back(call.text);
    EXPECT_EQ(removals, (Texts{sub + ".", noSearch + ".", top}));
    EXPECT_EQ(CountCalls("FindFirstFileA"), 2u);
}

TEST_F(DeleteTreeTest, StackUsePerLevelIsSmall) {
    std::string path = kTop;
    for (int level = 0; level < 40; ++level)
        path += "\\d";
    sim::WriteFile(path + "\\leaf.txt", "");
    DeleteFolderTree(kTop);
    EXPECT_FALSE(sim::Exists(kTop));
    std::vector<uintptr_t> depths;
    for (const sim::Call &call : sim::Calls())
        if (call.function == "FindFirstFileA")
            depths.push_back(call.stackAddress);
    ASSERT_EQ(depths.size(), 41u);
    uintptr_t perLevel = (depths.front() - depths.back()) / 40;
    // The DLL's level takes 928 bytes (entry record, two paths, saved registers); the host
    // build's frames are larger, more so with sanitizers.
    std::cout << "stack bytes per nesting level here: " << perLevel << "\n";
    EXPECT_LT(perLevel, 2048u);
}

} // namespace
