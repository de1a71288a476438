#include "conversion/CommandLineQuoting.h"

std::string QuoteArgument(const std::string& text) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            out.append(backslashes * 2 + 1, '\\');
        } else {
            out.append(backslashes, '\\');
        }
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');  // they stand before the closing quote
    out += '"';
    return out;
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    const size_t n = commandLine.size();
    for (size_t i = 0; i < n;) {
        const char c = commandLine[i];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inArgument) {
                args.push_back(current);
                current.clear();
                inArgument = false;
            }
            ++i;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            size_t run = 0;
            while (i < n && commandLine[i] == '\\') {
                ++run;
                ++i;
            }
            if (i < n && commandLine[i] == '"') {
                current.append(run / 2, '\\');
                if (run % 2 == 1) {
                    current += '"';
                    ++i;
                }
                // an even run leaves the quote to the next pass, where it toggles quoting
            } else {
                current.append(run, '\\');
            }
            continue;
        }
        if (c == '"') {
            if (quoted && i + 1 < n && commandLine[i + 1] == '"') {
                current += '"';
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        current += c;
        ++i;
    }
    if (inArgument) args.push_back(current);
    return args;
}
