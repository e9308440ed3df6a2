#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScratchDir.h"
#include "TextLineReader.h"

using TextLineReader = ScratchDirTest;

TEST_F(TextLineReader, EveryLineEndReadsAlike) {
    const std::string wide(65535, 'x');   // its CR is the last byte of the first read, its LF the next
    const std::string wider(150000, 'y'); // runs over three reads
    const std::string bom = "\xEF\xBB\xBF";
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
        bool lastEnded;
    } cases[] = {
        {"LF", "a\nb\n", {"a", "b"}, true},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}, true},
        {"CR", "a\rb\r", {"a", "b"}, true},
        {"mixed", "a\r\nb\rc\n", {"a", "b", "c"}, true},
        {"empty lines", "a\r\r\n\nb", {"a", "", "", "b"}, false},
        {"byte order mark", bom + "a\rb", {"a", "b"}, false},
        {"CR LF across reads", wide + "\r\nb", {wide, "b"}, false},
        {"line across reads", "a\n" + wider + "\rb\n" + wider, {"a", wider, "b", wider}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTextLineReader reader;
        ASSERT_TRUE(reader.Open(WriteFile("lines.txt", c.text)));
        std::vector<std::string> lines;
        std::string line;
        bool ended = false;
        while (!reader.Eof()) {
            ASSERT_TRUE(reader.ReadLine(line));
            lines.push_back(line);
            ended = reader.LineEnded();
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(ended, c.lastEnded);
        EXPECT_FALSE(reader.ReadLine(line));
        EXPECT_EQ(reader.Position(), static_cast<std::int64_t>(c.text.size()));
        reader.Rewind();
        ASSERT_TRUE(reader.ReadLine(line));
        EXPECT_EQ(line, c.lines.front());
    }
}
