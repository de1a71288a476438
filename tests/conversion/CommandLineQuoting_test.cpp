#include "conversion/CommandLineQuoting.h"

#include <gtest/gtest.h>

namespace {

// Every path quoted by the one rule comes back unchanged from the splitter.
TEST(CommandLineQuoting, QuotedPathsSurviveTheSplitter) {
    const std::string paths[] = {
        "/home/user/Videos/clip.avi",
        "/media/my videos/clip one.avi",
        "/tmp/say \"hello\".avi",
        "/tmp/ends with backslash\\",
        "/tmp/back\\\\slashes\\\"and quote",
        "-leading dash.mp4",
        "/tmp/\xc3\xa9t\xc3\xa9 vid\xc3\xa9o.mov",
        "",
    };
    for (const std::string& path : paths) {
        const std::string line = "/opt/kestrava/favc -y -i " + QuoteArgument(path) + " -b 128 " +
                                 QuoteArgument(path + ".mp4");
        const auto args = SplitCommandLine(line);
        ASSERT_EQ(args.size(), 7u) << line;
        EXPECT_EQ(args[3], path) << line;
        EXPECT_EQ(args[6], path + ".mp4") << line;
    }
}

TEST(CommandLineQuoting, OrdinaryPathIsJustQuoted) {
    EXPECT_EQ(QuoteArgument("D:\\Video\\clip.avi"), "\"D:\\Video\\clip.avi\"");
    EXPECT_EQ(QuoteArgument("/a b/c"), "\"/a b/c\"");
}

TEST(CommandLineQuoting, EscapesQuoteAndTrailingBackslash) {
    EXPECT_EQ(QuoteArgument("a\"b"), "\"a\\\"b\"");
    EXPECT_EQ(QuoteArgument("a\\"), "\"a\\\\\"");
    EXPECT_EQ(QuoteArgument("a\\\"b"), "\"a\\\\\\\"b\"");
}

TEST(CommandLineQuoting, SplitterRules) {
    struct Case {
        std::string line;
        std::vector<std::string> args;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"a  b\tc", {"a", "b", "c"}},
        {"\"a b\" c", {"a b", "c"}},
        {"a\\b", {"a\\b"}},
        {"a\\\\\"b c\"", {"a\\b c"}},
        {"a\\\"b", {"a\"b"}},
        {"\"\"", {""}},
        {"\"a\"\"b\"", {"a\"b"}},
        {"x\"y z\"w", {"xy zw"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

}  // namespace
