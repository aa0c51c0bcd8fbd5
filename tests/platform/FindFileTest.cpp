#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "findfile/FindFile.h"

using namespace findfile;
namespace fs = std::filesystem;

TEST(FindFile, SynthesisesTheAttributeWordOfEachKindOfEntry)
{
    const fs::path dir = fs::temp_directory_path() / ("findfile-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "sub");
    fs::create_directories(dir / ".hiddendir");
    std::ofstream(dir / "plain.doc") << "x";
    std::ofstream(dir / ".hidden.doc") << "x";
    std::ofstream(dir / "locked.doc") << "x";
    chmod((dir / "locked.doc").c_str(), 0444);
    mkfifo((dir / "pipe.doc").c_str(), 0644);
    fs::create_symlink(dir / "plain.doc", dir / "link.doc");
    fs::create_directory_symlink(dir / "sub", dir / "linkdir");
    fs::create_symlink(dir / "missing", dir / "dangling.doc");

    std::map<std::string, uint32_t> seen;
    FindData data;
    FindHandle h = FindFirstFile(dir.string() + "/*.*", data);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    do
        seen[data.cFileName] = data.dwFileAttributes;
    while (FindNextFile(h, data));
    FindClose(h);

    const std::map<std::string, uint32_t> expected = {
        {".", 0x12}, {"..", 0x12}, {"sub", 0x10}, {".hiddendir", 0x12},
        {"plain.doc", 0x20}, {".hidden.doc", 0x22}, {"locked.doc", 0x21},
        {"pipe.doc", 0x40}, {"link.doc", 0x420}, {"linkdir", 0x410}, {"dangling.doc", 0x400},
    };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(FindFirstFile((dir / "nothing").string() + "/*.*", data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFile((dir / "plain.doc").string() + "/*.*", data), INVALID_HANDLE_VALUE);
    fs::remove_all(dir);
}
