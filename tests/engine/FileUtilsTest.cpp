#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FileUtils.h"
#include "ScratchDir.h"

TEST(GetAbsolutePath, ResolvesAgainstTheBaseFolder) {
    struct {
        const char* base;
        const char* name;
        const char* expected;
    } cases[] = {
        {"/a/b", "../c/./d.txt", "/a/c/d.txt"},
        {"/a/b/", "../c/./d.txt", "/a/c/d.txt"},
        {"/a/b", "..\\c\\.\\d.txt", "/a/c/d.txt"}, // stored Windows-style names
        {"/a", "/x.txt", "/x.txt"},                // absolute: unchanged
        {"/a/", "", "/a/"},
        {"/a", "x.txt", "/a/x.txt"},
        {"/a", "b//c.txt", "/a/b/c.txt"}, // empty piece skipped
        {"/", "../../x.txt", "/x.txt"},   // never above the root
        {"/a", "../../../x.txt", "/x.txt"},
        {"/a/b", "c/..", "/a/b/c/.."}, // the file name stays as it stands
        {"/a/b", ".", "/a/b/."},
        {"", "x.txt", "/x.txt"},
        {"rel/", "../../x.txt", "../x.txt"}, // a relative base keeps what it cannot drop
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetAbsolutePath(c.base, c.name), c.expected) << c.base << " + " << c.name;
}

using FileNames = ScratchDirTest;

TEST_F(FileNames, PlainVisibleFilesSortedByName) {
    std::filesystem::create_directories(dir_ / "folder");
    for (const char* name : {"b.xml", "a.xml", ".hidden", "C.xml"})
        WriteFile(name, "x");

    std::vector<std::string> names{"kept"};
    GetFilenames(dir_.string() + "/", names);
    EXPECT_EQ(names, (std::vector<std::string>{"kept", "C.xml", "a.xml", "b.xml"}));

    names.clear();
    GetFilenames(P("folder/"), names);
    EXPECT_TRUE(names.empty());
    GetFilenames(P("absent/"), names);
    EXPECT_TRUE(names.empty());
}
