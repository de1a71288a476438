#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "conversion/EncoderRunner.h"
#include "conversion/ProcessTable.h"

// A process table the test fills; Terminate removes the process (or not, for one that
// refuses to end).
class FakeProcessTable : public IProcessTable {
public:
    std::vector<Entry> processes;
    std::vector<std::uint32_t> terminated;
    std::vector<std::uint32_t> refuseToEnd;
    int snapshots = 0;

    std::vector<Entry> Snapshot() const override {
        ++const_cast<FakeProcessTable*>(this)->snapshots;
        return processes;
    }
    bool Terminate(std::uint32_t pid) override {
        terminated.push_back(pid);
        for (std::uint32_t stubborn : refuseToEnd)
            if (stubborn == pid) return true;
        for (auto it = processes.begin(); it != processes.end(); ++it) {
            if (it->Pid == pid) {
                processes.erase(it);
                return true;
            }
        }
        return false;
    }
    void Add(std::uint32_t pid, const std::string& name, const std::string& path = "") {
        processes.push_back(Entry{pid, name, path.empty() ? "/prog/" + name : path});
    }
    bool Has(std::uint32_t pid) const {
        for (const Entry& e : processes)
            if (e.Pid == pid) return true;
        return false;
    }
};

// Starts fake encoder "processes": each run appears in the process table under the program's
// file name until the test ends it; the test feeds its output.
class FakeEncoderRunner : public IEncoderRunner {
public:
    explicit FakeEncoderRunner(FakeProcessTable& table) : table_(table) {}

    struct Started {
        std::string commandLine;
        OutputCallback onOutput;
        std::uint32_t pid;
    };
    std::vector<Started> started;
    int freed = 0;
    bool finished = true;  // what Finished() reports once the process has gone
    int exitCode = 0;      // what ExitCode() reports for every run

    std::unique_ptr<IEncoderRun> Start(const std::string& commandLine,
                                       OutputCallback onOutput) override {
        const std::uint32_t pid = nextPid_++;
        const std::string program = commandLine.substr(0, commandLine.find(' '));
        const std::string name = program.substr(program.rfind('/') + 1);
        if (!commandLine.empty()) table_.Add(pid, name, program);
        started.push_back(Started{commandLine, std::move(onOutput), pid});
        return std::make_unique<Run>(*this, pid);
    }
    // The child of the latest run ends by itself.
    void EndLatest() {
        if (!started.empty()) table_.Terminate(started.back().pid);
    }

private:
    struct Run : IEncoderRun {
        Run(FakeEncoderRunner& r, std::uint32_t p) : runner(r), pid(p) {}
        ~Run() override { ++runner.freed; }
        bool Finished() const override { return !runner.table_.Has(pid) && runner.finished; }
        int ExitCode() const override { return runner.exitCode; }
        FakeEncoderRunner& runner;
        std::uint32_t pid;
    };
    FakeProcessTable& table_;
    std::uint32_t nextPid_ = 4000;
};
