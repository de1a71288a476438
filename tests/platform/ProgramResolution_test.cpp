#include "platform/ProgramResolution.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

namespace {

struct ResolutionCase {
    const char* Name;
    std::string Line;                    // "@" stands for the test folder
    std::string ProgramFolder;           // likewise
    std::vector<std::string> Expected;   // likewise; empty: no program
};

std::string Expand(std::string text, const std::string& folder) {
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
        text.replace(at, 1, folder);
        at += folder.size();
    }
    return text;
}

TEST(PlatformProgramResolution, FindsTheProgramAsWindowsProcessStartDoes) {
    TestFolder folder("kestrava-resolution");
    folder.CopyHelper("Program Dir/favc");
    folder.CopyHelper("plain");
    folder.MakeFolder("Program");  // a folder on the way is no program

    const std::vector<ResolutionCase> cases = {
        {"path with blanks", "@/Program Dir/favc -y -i \"in put.avi\" \"out.mp4\"", "",
         {"@/Program Dir/favc", "-y", "-i", "in put.avi", "out.mp4"}},
        {"plain path, nothing after", "@/plain", "", {"@/plain"}},
        {"leading and doubled blanks", "  @/plain   a\tb", "", {"@/plain", "a", "b"}},
        {"bare name from the program folder", "favc -y", "@/Program Dir",
         {"@/Program Dir/favc", "-y"}},
        {"quoted program", "\"@/Program Dir/favc\" -i x", "", {"@/Program Dir/favc", "-i", "x"}},
        {"blanks kept as written", "@/Program  Dir/favc -y", "", {}},
        {"missing program", "@/missing -y -i x", "", {}},
        {"folder only", "@/Program Dir", "", {}},
        {"unclosed quote", "\"@/Program Dir/favc -y", "", {}},
        {"empty line", "", "", {}},
        {"blanks only", "  \t ", "", {}},
    };
    const std::string root = folder.Path().string();
    for (const auto& c : cases) {
        std::vector<std::string> expected;
        for (const auto& e : c.Expected) {
            expected.push_back(Expand(e, root));
        }
        EXPECT_EQ(ResolveEncoderArguments(Expand(c.Line, root), Expand(c.ProgramFolder, root)),
                  expected)
            << c.Name;
    }
}

}  // namespace
