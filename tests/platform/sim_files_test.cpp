// The simulated file system must follow the Win32 rules that the hook relies on.
#include <string>
#include <vector>

#include "tests/sim_fixture.h"

namespace {

using Names = std::vector<std::string>;

class SimFilesTest : public SimulatedWindows {
  protected:
    static Names List(const char *pattern) {
        Names names;
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA(pattern, &entry);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do
            names.push_back(entry.cFileName);
        while (FindNextFileA(search, &entry));
        FindClose(search);
        return names;
    }
};

TEST_F(SimFilesTest, WildcardsFollowDosRules) {
    sim::WriteFile("C:\\D\\a.inf", "");
    sim::WriteFile("C:\\D\\B.INF", "");
    sim::WriteFile("C:\\D\\noext", "");
    sim::WriteFile("C:\\D\\c.infx", "");
    sim::MakeFolder("C:\\D\\sub.inf");
    EXPECT_EQ(List("C:\\D\\*.INF"), (Names{"a.inf", "B.INF", "sub.inf"}));
    EXPECT_EQ(List("C:\\D\\*.*"),
              (Names{".", "..", "a.inf", "B.INF", "c.infx", "noext", "sub.inf"}));
    EXPECT_EQ(List("C:\\d.\\*.*").size(), 7u); // a trailing period names the same folder
    EXPECT_TRUE(List("C:\\missing\\*.*").empty());
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(SimFilesTest, PathsLongerThanMaxPathAreRefused) {
    std::string folder = "C:\\" + std::string(250, 'x');
    sim::WriteFile(folder + "\\file.txt", "");
    EXPECT_FALSE(DeleteFileA((folder + "\\file.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
    EXPECT_TRUE(sim::Exists(folder + "\\file.txt"));
}

TEST_F(SimFilesTest, DeletionRules) {
    sim::WriteFile("C:\\D\\ro.txt", "", FILE_ATTRIBUTE_READONLY);
    sim::WriteFile("C:\\D\\busy.txt", "");
    sim::SetInUse("C:\\D\\busy.txt", true);
    sim::WriteFile("C:\\D\\Hidden.txt", "", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_FALSE(DeleteFileA("C:\\D\\ro.txt"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(DeleteFileA("C:\\D\\busy.txt"));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(DeleteFileA("c:\\d\\HIDDEN.TXT"));
    EXPECT_FALSE(RemoveDirectoryA("C:\\D"));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    EXPECT_FALSE(DeleteFileA("C:\\D"));
}

TEST_F(SimFilesTest, LinksAreRemovedWithoutTheirTargets) {
    sim::WriteFile("C:\\Target\\keep.txt", "");
    sim::MakeFolderLink("C:\\D\\link", "C:\\Target");
    sim::MakeFileLink("C:\\D\\file.lnk", "C:\\Target\\keep.txt");
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("C:\\D\\link", &entry);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(entry.dwFileAttributes, 0x410u);
    FindClose(search);
    EXPECT_EQ(List("C:\\D\\link\\*.*"), (Names{".", "..", "keep.txt"}));
    EXPECT_TRUE(DeleteFileA("C:\\D\\file.lnk"));
    EXPECT_TRUE(RemoveDirectoryA("C:\\D\\link"));
    EXPECT_TRUE(sim::Exists("C:\\Target\\keep.txt"));
}

TEST_F(SimFilesTest, SearchGoesOnWhileItsEntriesAreDeleted) {
    for (const char *name : {"a", "b", "c"})
        sim::WriteFile(std::string("C:\\D\\") + name, "");
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("C:\\D\\*", &entry);
    Names seen;
    do {
        seen.push_back(entry.cFileName);
        if (seen.size() == 3) // after "a": delete "b" ahead of the search
            DeleteFileA("C:\\D\\b");
    } while (FindNextFileA(search, &entry));
    EXPECT_FALSE(RemoveDirectoryA("C:\\D")); // held by the open search
    FindClose(search);
    EXPECT_EQ(seen, (Names{".", "..", "a", "c"}));
}

TEST_F(SimFilesTest, ProfileSections) {
    sim::WriteFile("C:\\x.inf", "; head\r\n[Manufacturer]\r\n ; note \r\n%Mfg% = Models,NTx86\r\n"
                                "bare\r\n\r\n[models]\r\nA=B\r\n[MANUFACTURER]\r\nlater=x\r\n");
    char buffer[64];
    DWORD count = GetPrivateProfileSectionA("manufacturer", buffer, sizeof buffer, "C:\\x.inf");
    EXPECT_EQ(std::string(buffer, count + 1),
              std::string("; note\0%Mfg%=Models,NTx86\0bare\0\0", 32));
    // Cut to fit: the count is the size less two, and two zeros end the buffer.
    count = GetPrivateProfileSectionA("Manufacturer", buffer, 12, "C:\\x.inf");
    EXPECT_EQ(count, 10u);
    EXPECT_EQ(std::string(buffer, 12), std::string("; note\0%Mf\0\0", 12));
    // An entry that ends exactly at the last byte but one leaves no room for the next.
    sim::WriteFile("C:\\y.inf", "[S]\r\nab\r\ncd\r\n");
    count = GetPrivateProfileSectionA("S", buffer, 4, "C:\\y.inf");
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(std::string(buffer, 4), std::string("ab\0\0", 4));
    EXPECT_EQ(GetPrivateProfileSectionA("none", buffer, sizeof buffer, "C:\\x.inf"), 0u);
    EXPECT_EQ(GetPrivateProfileSectionA("models", buffer, sizeof buffer, "C:\\no.inf"), 0u);
}

} // namespace
