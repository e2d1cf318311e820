// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/LineReader.h"

#include "support/TempFolder.h"
#include "text/FileKind.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace kv {
namespace {

std::vector<std::string> readAll(std::string content)
{
    LineReader reader(std::move(content));
    std::vector<std::string> lines;
    while (auto line = reader.next())
        lines.emplace_back(*line);
    return lines;
}

TEST(LineReader, KeepsLineEndsAndTheLastLineWithoutOne)
{
    EXPECT_EQ(readAll("a\r\nb\nc"), (std::vector<std::string>{"a\r\n", "b\n", "c"}));
    EXPECT_TRUE(readAll("").empty());
    EXPECT_EQ(readAll("\r\n\r\n"), (std::vector<std::string>{"\r\n", "\r\n"}));
}

TEST(LineReader, LongPhysicalLineIsCutAndItsRestDropped)
{
    std::string longLine(300, 'x');
    auto lines = readAll(longLine + "\r\nnext\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(255, 'x'));
    EXPECT_EQ(lines[1], "next\r\n");

    // 254 characters and CR LF: the LF is the 256th byte, and it does not become a line.
    lines = readAll(std::string(254, 'y') + "\r\nz\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(254, 'y') + "\r");
    EXPECT_EQ(lines[1], "z\n");
}

TEST(LineReader, NulEndsTheLineText)
{
    auto lines = readAll(std::string("ab\0cd\nef\n", 9));
    EXPECT_EQ(lines, (std::vector<std::string>{"ab", "ef\n"}));
}

TEST(SplitFields, CutsFieldsAndLeavesMissingOnesEmpty)
{
    Fields<4> f = splitFields<4>("1301,name\r\n");
    EXPECT_EQ(f[0], "1301");
    EXPECT_EQ(f[1], "name\r\n");
    EXPECT_EQ(f[2], "");
    EXPECT_EQ(f[3], "");

    std::string line = "a,," + std::string(70, 'n') + ",1000,extra";
    f = splitFields<4>(line);
    EXPECT_EQ(f[0], "a");
    EXPECT_EQ(f[1], "");
    EXPECT_EQ(f[2], std::string(64, 'n'));
    EXPECT_EQ(f[3], "1000");
}

TEST(LineReader, OpenGivesNothingForWhatCannotBeRead)
{
    // A directory opens as a stream but fails on the first read.
    EXPECT_FALSE(LineReader::open(std::filesystem::temp_directory_path()));
    EXPECT_FALSE(LineReader::open(std::filesystem::temp_directory_path() / "kirvane-no-such-file"));

    // A pipe (a FIFO by another name) is refused without being read: one whose writer stays
    // away would block the program for good. Here the writer is gone, so nothing could hang.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], "h\r\n", 3), 3);
    ::close(ends[1]);
    int error = 0;
    EXPECT_FALSE(LineReader::open("/proc/self/fd/" + std::to_string(ends[0]), &error));
    ::close(ends[0]);
    EXPECT_EQ(error, kNotRegularFileError);
    EXPECT_EQ(systemErrorText(error), "Not a regular file");

    // /dev/null is the one device read, as empty.
    std::optional<LineReader> empty = LineReader::open("/dev/null", &error);
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->next());
}

TEST(LineReader, AFileBeyondTheLineOrByteLimitIsRefused)
{
    test::TempFolder folder;
    const std::filesystem::path file = folder / "large.csv";
    int error = 0;
    std::ofstream(file, std::ios::binary) << std::string(kMaxInputLines, '\n');
    EXPECT_TRUE(LineReader::open(file, &error));
    std::ofstream(file, std::ios::binary | std::ios::app) << "x";  // one line more, without a line end
    EXPECT_FALSE(LineReader::open(file, &error));
    EXPECT_EQ(error, EFBIG);

    // Refused by its size alone (the file is sparse: nothing is stored, nothing is read).
    std::filesystem::resize_file(file, kMaxInputBytes + 1);
    error = 0;
    EXPECT_FALSE(LineReader::open(file, &error));
    EXPECT_EQ(error, EFBIG);
}

}  // namespace
}  // namespace kv
