#include "platform/ProcProcessTable.h"

#include "platform/ProcStat.h"
#include "platform/TestChild.h"
#include "platform/TestFolder.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <optional>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

std::optional<IProcessTable::Entry> FindPid(const std::vector<IProcessTable::Entry>& entries,
                                            std::uint32_t pid) {
    for (const auto& entry : entries) {
        if (entry.Pid == pid) {
            return entry;
        }
    }
    return std::nullopt;
}

TEST(PlatformProcessTable, ListsAStartedProgramWithItsFullName) {
    TestFolder folder("kestrava-table");
    // Longer than the kernel's 15-character command name, so the name must come from the file.
    const std::string name = UniqueProgramName("table-find");
    const fs::path program = folder.CopyHelper("Program Dir/" + name);
    TestChild child(program.string(), {"sleep", "5000"});
    ASSERT_TRUE(child.WaitForOutput("ready", 3s));

    const auto entries = ProcProcessTable().Snapshot();
    const auto entry = FindPid(entries, static_cast<std::uint32_t>(child.Pid()));
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->ExeName, name);
    EXPECT_EQ(entry->ExePath, program.string());

    for (std::size_t i = 1; i < entries.size(); ++i) {
        EXPECT_LT(entries[i - 1].Pid, entries[i].Pid);
    }
    const auto self = FindPid(entries, static_cast<std::uint32_t>(::getpid()));
    ASSERT_TRUE(self.has_value());
    EXPECT_EQ(self->ExeName, "platform_tests");
}

TEST(PlatformProcessTable, DeletedExecutableKeepsItsPlainName) {
    TestFolder folder("kestrava-table");
    const std::string name = UniqueProgramName("table-deleted");
    const fs::path program = folder.CopyHelper(name);
    TestChild child(program.string(), {"sleep", "5000"});
    ASSERT_TRUE(child.WaitForOutput("ready", 3s));
    fs::remove(program);

    const auto entry =
        FindPid(ProcProcessTable().Snapshot(), static_cast<std::uint32_t>(child.Pid()));
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->ExeName, name);
    EXPECT_EQ(entry->ExePath, program.string());
}

TEST(PlatformProcessTable, EndedChildNotYetReapedIsNotListed) {
    TestFolder folder("kestrava-table");
    TestChild child(folder.CopyHelper(UniqueProgramName("table-zombie")).string(), {"exit", "0"});
    const auto until = Clock::now() + 3s;
    while (child.State() != 'Z' && Clock::now() < until) {
        std::this_thread::sleep_for(5ms);
    }
    ASSERT_EQ(child.State(), 'Z');
    EXPECT_FALSE(
        FindPid(ProcProcessTable().Snapshot(), static_cast<std::uint32_t>(child.Pid())));
    EXPECT_TRUE(child.WaitForExit(1s).has_value());
}

TEST(PlatformProcessTable, TerminateAsksFirstAndKillsWhatStays) {
    struct TerminateCase {
        const char* Mode;
        int Signal;
        std::chrono::milliseconds AtLeast;
        std::chrono::milliseconds AtMost;
    };
    const std::vector<TerminateCase> cases = {
        {"sleep", SIGTERM, 0ms, 1000ms},
        {"ignore-term", SIGKILL, 1500ms, 3500ms},
    };
    TestFolder folder("kestrava-table");
    ProcProcessTable table;
    for (const auto& c : cases) {
        TestChild child(folder.CopyHelper(UniqueProgramName("table-term")).string(),
                        {c.Mode, "10000"});
        ASSERT_TRUE(child.WaitForOutput("ready", 3s)) << c.Mode;

        const auto started = Clock::now();
        EXPECT_TRUE(table.Terminate(static_cast<std::uint32_t>(child.Pid()))) << c.Mode;
        EXPECT_LT(Clock::now() - started, 100ms) << "Terminate must not wait: " << c.Mode;

        const auto status = child.WaitForExit(5s);
        const auto took = Clock::now() - started;
        ASSERT_TRUE(status.has_value()) << c.Mode;
        ASSERT_TRUE(WIFSIGNALED(*status)) << c.Mode;
        EXPECT_EQ(WTERMSIG(*status), c.Signal) << c.Mode;
        EXPECT_GE(took, c.AtLeast) << c.Mode;
        EXPECT_LE(took, c.AtMost) << c.Mode;
    }
}

// The stop loop asks every 100 ms; an encoder still writing its trailer must get one request,
// since a second signal ends it at once.
TEST(PlatformProcessTable, RepeatedTerminateSignalsOnce) {
    TestFolder folder("kestrava-table");
    ProcProcessTable table;
    TestChild child(folder.CopyHelper(UniqueProgramName("table-once")).string(),
                    {"finish-on-term", "600"});
    ASSERT_TRUE(child.WaitForOutput("ready", 3s));
    const auto pid = static_cast<std::uint32_t>(child.Pid());
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(table.Terminate(pid));
        std::this_thread::sleep_for(100ms);
    }
    const auto status = child.WaitForExit(5s);
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
}

TEST(PlatformProcessTable, TerminateRefusesWhatItCannotSignal) {
    EXPECT_FALSE(IsSignallablePid(0));
    EXPECT_FALSE(IsSignallablePid(static_cast<std::uint32_t>(INT_MAX) + 1));
    EXPECT_FALSE(IsSignallablePid(0xFFFFFFFFu));
    EXPECT_TRUE(IsSignallablePid(1));
    EXPECT_TRUE(IsSignallablePid(static_cast<std::uint32_t>(INT_MAX)));

    // A pid above the system's largest belongs to no process.
    long pidMax = 0;
    std::ifstream("/proc/sys/kernel/pid_max") >> pidMax;
    ASSERT_GT(pidMax, 0);
    EXPECT_FALSE(ProcProcessTable().Terminate(static_cast<std::uint32_t>(pidMax + 1)));
}

TEST(PlatformProcStat, ParsesNamesWithBlanksAndParentheses) {
    const std::string fields =
        " S 1 2 3 0 -1 4194560 10 0 0 0 5 6 0 0 20 0 1 0 987654 1000 100";
    const auto stat = ParseProcStat(("42 (odd ) (name)" + fields).c_str());
    ASSERT_TRUE(stat.has_value());
    EXPECT_EQ(stat->State, 'S');
    EXPECT_EQ(stat->Flags, 4194560u);
    EXPECT_EQ(stat->StartTime, 987654u);

    EXPECT_FALSE(ParseProcStat("42 (short) Z 1 2").has_value());
    EXPECT_FALSE(ParseProcStat("no parenthesis at all").has_value());
    EXPECT_FALSE(ParseProcStat("").has_value());
}

}  // namespace

namespace {

TEST(PlatformDelayedKill, KillsOnlyTheProcessThatWasMeant) {
    TestFolder folder("kestrava-table");
    TestChild meant(folder.CopyHelper(UniqueProgramName("kill-meant")).string(),
                    {"ignore-term", "10000"});
    TestChild other(folder.CopyHelper(UniqueProgramName("kill-other")).string(),
                    {"ignore-term", "10000"});
    ASSERT_TRUE(meant.WaitForOutput("ready", 3s));
    ASSERT_TRUE(other.WaitForOutput("ready", 3s));
    const auto meantStat = ReadProcStat(meant.Pid());
    const auto otherStat = ReadProcStat(other.Pid());
    ASSERT_TRUE(meantStat && otherStat);

    {
        DelayedKill kill(100ms);
        kill.Schedule(meant.Pid(), meantStat->StartTime);
        // A different start time stands for a pid that a new process has taken since.
        kill.Schedule(other.Pid(), otherStat->StartTime + 1);
    }  // delivers what falls due before it returns

    const auto status = meant.WaitForExit(2s);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL);
    EXPECT_FALSE(other.WaitForExit(200ms).has_value());
    EXPECT_EQ(ReadProcStat(other.Pid())->StartTime, otherStat->StartTime);
}

}  // namespace
