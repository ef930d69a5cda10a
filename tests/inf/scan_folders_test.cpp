#include <string>
#include <vector>

#include "inf/inf_cleanup.h"
#include "tests/sim_fixture.h"

namespace {

using Texts = std::vector<std::string>;

const std::string kMatching6211 =
    "[Manufacturer]\r\nM=Models\r\n[Models]\r\nx=USB\\VID_0982&PID_6211\r\n";

class ScanFoldersTest : public SimulatedWindows {
  protected:
    static Texts Patterns() {
        Texts patterns;
        for (const sim::Call &call : sim::Calls())
            if (call.function == "FindFirstFileA")
                patterns.push_back(call.text);
        return patterns;
    }
    static Texts ExaminedFiles() {
        Texts files;
        for (const sim::Call &call : sim::Calls())
            if (call.function == "GetPrivateProfileSectionA" &&
                call.text.rfind("Manufacturer in ", 0) == 0)
                files.push_back(call.text.substr(16));
        return files;
    }
};

TEST_F(ScanFoldersTest, InfFolderFirstThenOther) {
    sim::WriteFile("C:\\WINDOWS\\INF\\oem1.inf", kMatching6211);
    sim::WriteFile("C:\\WINDOWS\\INF\\machine.inf", "[Manufacturer]\r\n");
    sim::WriteFile("C:\\WINDOWS\\INF\\readme.txt", kMatching6211);
    sim::WriteFile("C:\\WINDOWS\\INF\\OTHER\\Cam.INF", kMatching6211);
    RemoveDriverInfFiles("6211", "0982");
    EXPECT_EQ(Patterns(), (Texts{"C:\\WINDOWS\\INF\\*.INF", "C:\\WINDOWS\\INF\\OTHER\\*.INF"}));
    EXPECT_EQ(ExaminedFiles(), (Texts{"C:\\WINDOWS\\INF\\machine.inf", "C:\\WINDOWS\\INF\\oem1.inf",
                                      "C:\\WINDOWS\\INF\\OTHER\\Cam.INF"}));
    EXPECT_EQ(sim::Tree("C:\\WINDOWS\\INF"),
              (Texts{"C:\\WINDOWS\\INF\\machine.inf", "C:\\WINDOWS\\INF\\OTHER",
                     "C:\\WINDOWS\\INF\\readme.txt"}));
}

TEST_F(ScanFoldersTest, WindowsFolderAtADriveRoot) {
    sim::SetWindowsDirectory("C:\\");
    sim::WriteFile("C:\\INF\\a.inf", kMatching6211);
    sim::WriteFile("C:\\INF\\OTHER\\b.inf", kMatching6211);
    RemoveDriverInfFiles("6211", "0982");
    EXPECT_EQ(Patterns(), (Texts{"C:\\INF\\*.INF", "C:\\INF\\OTHER\\*.INF"}));
    EXPECT_FALSE(sim::Exists("C:\\INF\\a.inf"));
    EXPECT_FALSE(sim::Exists("C:\\INF\\OTHER\\b.inf"));
}

TEST_F(ScanFoldersTest, OtherFolderOnlyWhenTheInfFolderYieldsAnEntry) {
    struct {
        const char *name;
        bool infFolder;
    } cases[] = {{"empty INF folder", true}, {"missing INF folder", false}};
    for (const auto &c : cases) {
        sim::Reset();
        if (c.infFolder)
            sim::MakeFolder("C:\\WINDOWS\\INF");
        sim::WriteFile("C:\\WINDOWS\\INF\\OTHER\\cam.inf", kMatching6211);
        if (!c.infFolder) // OTHER cannot exist without INF; search a missing folder instead
            sim::SetWindowsDirectory("C:\\NT");
        RemoveDriverInfFiles("6211", "0982");
        EXPECT_EQ(Patterns().size(), 1u) << c.name;
        EXPECT_TRUE(sim::Exists("C:\\WINDOWS\\INF\\OTHER\\cam.inf")) << c.name;
    }
}

TEST_F(ScanFoldersTest, MissingOtherFolderEndsQuietly) {
    sim::WriteFile("C:\\WINDOWS\\INF\\a.inf", kMatching6211);
    RemoveDriverInfFiles("6211", "0982");
    EXPECT_FALSE(sim::Exists("C:\\WINDOWS\\INF\\a.inf"));
    EXPECT_EQ(Patterns().size(), 2u);
}

TEST_F(ScanFoldersTest, FolderNamedLikeAnInfIsExaminedAndKept) {
    sim::MakeFolder("C:\\WINDOWS\\INF\\x.inf");
    RemoveDriverInfFiles("6211", "0982");
    EXPECT_EQ(ExaminedFiles(), Texts{"C:\\WINDOWS\\INF\\x.inf"});
    EXPECT_TRUE(sim::Exists("C:\\WINDOWS\\INF\\x.inf"));
}

TEST_F(ScanFoldersTest, EachProductRemovesOnlyItsOwnFiles) {
    sim::WriteFile("C:\\WINDOWS\\INF\\a.inf", kMatching6211);
    sim::WriteFile("C:\\WINDOWS\\INF\\b.inf",
                   "[Manufacturer]\r\nM=Models\r\n[Models]\r\nx=USB\\VID_0982&PID_6210\r\n");
    RemoveDriverInfFiles("6210", "0982");
    EXPECT_TRUE(sim::Exists("C:\\WINDOWS\\INF\\a.inf"));
    EXPECT_FALSE(sim::Exists("C:\\WINDOWS\\INF\\b.inf"));
}

TEST_F(ScanFoldersTest, UnusableWindowsFolderIsNotSearched) {
    struct {
        const char *name;
        sim::WindowsDirectoryAnswer answer;
    } cases[] = {{"call fails", sim::WindowsDirectoryAnswer::Fails},
                 {"path too long", sim::WindowsDirectoryAnswer::TooLong}};
    for (const auto &c : cases) {
        sim::Reset();
        sim::WriteFile("C:\\WINDOWS\\INF\\a.inf", kMatching6211);
        sim::SetWindowsDirectoryAnswer(c.answer);
        RemoveDriverInfFiles("6211", "0982");
        EXPECT_TRUE(Patterns().empty()) << c.name;
        EXPECT_TRUE(sim::Exists("C:\\WINDOWS\\INF\\a.inf")) << c.name;
    }
}

TEST_F(ScanFoldersTest, JoinsThatWouldNotFitAreSkipped) {
    // 245 + "\INF\OTHER\*.INF" is 261 bytes: the INF folder is searched, OTHER is not.
    std::string windows = "C:\\" + std::string(242, 'w');
    sim::SetWindowsDirectory(windows);
    sim::WriteFile(windows + "\\INF\\a.inf", kMatching6211);
    sim::WriteFile(windows + "\\INF\\OTHER\\b.inf", kMatching6211);
    RemoveDriverInfFiles("6211", "0982");
    EXPECT_EQ(Patterns(), Texts{windows + "\\INF\\*.INF"});
    EXPECT_FALSE(sim::Exists(windows + "\\INF\\a.inf"));
    EXPECT_TRUE(sim::Exists(windows + "\\INF\\OTHER\\b.inf"));
}

TEST_F(ScanFoldersTest, FoundNameTooLongForAPathIsSkipped) {
    std::string longName = std::string(246, 'n') + ".inf"; // 15 + 250 bytes: over MAX_PATH
    sim::WriteFile("C:\\WINDOWS\\INF\\" + longName, kMatching6211);
    sim::WriteFile("C:\\WINDOWS\\INF\\z.inf", kMatching6211);
    RemoveDriverInfFiles("6211", "0982");
    EXPECT_EQ(ExaminedFiles(), Texts{"C:\\WINDOWS\\INF\\z.inf"});
    EXPECT_TRUE(sim::Exists("C:\\WINDOWS\\INF\\" + longName));
}

} // namespace
