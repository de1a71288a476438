#include "platform/ProgramResolution.h"

#include "conversion/CommandLineQuoting.h"

#include <sys/stat.h>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string InFolder(const std::string& word, const std::string& programFolder) {
    if (word.find('/') != std::string::npos || programFolder.empty()) {
        return word;
    }
    if (programFolder.back() == '/') {
        return programFolder + word;
    }
    return programFolder + "/" + word;
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<std::string> WithRest(std::string program, const std::string& rest) {
    std::vector<std::string> arguments{std::move(program)};
    for (auto& argument : SplitCommandLine(rest)) {
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

}  // namespace

std::vector<std::string> ResolveEncoderArguments(const std::string& commandLine,
                                                 const std::string& programFolder) {
    std::size_t start = 0;
    while (start < commandLine.size() && IsBlank(commandLine[start])) {
        ++start;
    }
    if (start == commandLine.size()) {
        return {};
    }

    if (commandLine[start] == '"') {
        const std::size_t close = commandLine.find('"', start + 1);
        if (close == std::string::npos) {
            return {};
        }
        const std::string path =
            InFolder(commandLine.substr(start + 1, close - start - 1), programFolder);
        if (!IsRegularFile(path)) {
            return {};
        }
        return WithRest(path, commandLine.substr(close + 1));
    }

    std::size_t end = start;
    while (end < commandLine.size()) {
        while (end < commandLine.size() && !IsBlank(commandLine[end])) {
            ++end;
        }
        const std::string path = InFolder(commandLine.substr(start, end - start), programFolder);
        if (IsRegularFile(path)) {
            return WithRest(path, commandLine.substr(end));
        }
        while (end < commandLine.size() && IsBlank(commandLine[end])) {
            ++end;
        }
    }
    return {};
}
