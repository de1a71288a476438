#include "encoder/AvsScript.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kestrava::encoder {
namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

UsageError Refuse(const std::string& why) {
    return UsageError("the script is not a DirectShowSource(\"file\", fps=..., convertfps=true) line: " + why);
}

}  // namespace

DirectShowSource ParseDirectShowScript(const std::string& raw) {
    std::string text = raw;
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)  // a UTF-8 byte-order mark
        text.erase(0, 3);
    if (text.find('\0') != std::string::npos)
        throw Refuse("it holds binary data (is it a media file rather than a script?)");
    // Exactly one non-blank line.
    std::string line;
    std::istringstream lines(text);
    std::string each;
    int nonBlank = 0;
    while (std::getline(lines, each)) {
        if (!each.empty() && each.back() == '\r')
            each.pop_back();
        if (Trim(each).empty())
            continue;
        ++nonBlank;
        line = each;
    }
    if (nonBlank == 0)
        throw Refuse("it is empty");
    if (nonBlank > 1)
        throw Refuse("it has more than one line");
    line = Trim(line);

    const std::string function = "directshowsource";
    if (Lower(line.substr(0, function.size())) != function)
        throw Refuse("it does not begin with DirectShowSource");
    size_t pos = function.size();
    while (pos < line.size() && std::isspace(static_cast<unsigned char>(line[pos])))
        ++pos;
    if (pos >= line.size() || line[pos] != '(')
        throw Refuse("no \"(\" after DirectShowSource");
    if (line.back() != ')')
        throw Refuse("the line does not end with \")\"");
    ++pos;
    while (pos < line.size() && std::isspace(static_cast<unsigned char>(line[pos])))
        ++pos;
    if (pos >= line.size() || line[pos] != '"')
        throw Refuse("the first argument is not a quoted file name");
    const size_t pathBegin = pos + 1;
    const std::string inner = line.substr(0, line.size() - 1);  // without the closing ")"

    // Kestrava writes the path between quotes without escaping, so the path is everything up to
    // the last quote that is followed by the named arguments.
    DirectShowSource source;
    bool parsed = false;
    std::string firstProblem;
    for (size_t quote = inner.rfind('"'); quote != std::string::npos && quote >= pathBegin;
         quote = quote == 0 ? std::string::npos : inner.rfind('"', quote - 1)) {
        const std::string rest = inner.substr(quote + 1);
        // rest: , name=value , name=value ...
        std::vector<std::string> items;
        size_t from = 0;
        bool ok = true;
        if (Trim(rest).empty()) {
            ok = false;
        } else {
            const std::string r = Trim(rest);
            if (r[0] != ',') {
                ok = false;
            } else {
                from = 1;
                for (;;) {
                    const auto comma = r.find(',', from);
                    items.push_back(Trim(r.substr(from, comma == std::string::npos ? std::string::npos : comma - from)));
                    if (comma == std::string::npos)
                        break;
                    from = comma + 1;
                }
            }
        }
        if (!ok || items.empty()) {
            if (firstProblem.empty() && Trim(rest).empty())
                firstProblem = "no fps=... argument";
            continue;
        }
        bool haveFps = false, haveConvert = false;
        std::string problem;
        for (const auto& item : items) {
            const auto eq = item.find('=');
            if (eq == std::string::npos) {
                problem = "the argument \"" + item + "\" is not name=value";
                break;
            }
            const std::string name = Lower(Trim(item.substr(0, eq)));
            const std::string value = Trim(item.substr(eq + 1));
            if (name == "fps" && !haveFps) {
                char* end = nullptr;
                const double fps = std::strtod(value.c_str(), &end);
                if (value.empty() || end != value.c_str() + value.size() || !std::isfinite(fps) || fps < 1 || fps > 240) {
                    problem = "fps=" + value + " is not a frame rate";
                    break;
                }
                source.fps = fps;
                haveFps = true;
            } else if (name == "convertfps" && !haveConvert) {
                if (Lower(value) != "true") {
                    problem = "only convertfps=true is supported";
                    break;
                }
                haveConvert = true;
            } else {
                problem = "the argument \"" + item + "\" is not supported";
                break;
            }
        }
        if (problem.empty() && !haveFps)
            problem = "no fps=... argument";
        if (!problem.empty()) {
            // The rightmost quote's reading is the one to report if no quote works.
            if (firstProblem.empty())
                firstProblem = problem;
            continue;
        }
        source.path = inner.substr(pathBegin, quote - pathBegin);
        parsed = true;
        break;
    }
    if (!parsed)
        throw Refuse(firstProblem.empty() ? "the file name's closing quote is missing" : firstProblem);
    if (source.path.empty())
        throw Refuse("the file name is empty");
    source.frameRate = RateFromDecimal(source.fps);
    return source;
}

DirectShowSource ReadDirectShowScript(const std::string& scriptPath) {
    std::ifstream in(scriptPath, std::ios::binary);
    if (!in)
        throw UsageError("cannot read the script \"" + scriptPath + "\"");
    // A one-line script is small; read a little more than any such line can be.
    std::string text(64 * 1024 + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    if (text.find('\0') != std::string::npos)
        throw Refuse("\"" + scriptPath + "\" holds binary data (is it a media file rather than a script?)");
    if (text.size() > 64 * 1024)
        throw Refuse("\"" + scriptPath + "\" is far longer than one line");
    DirectShowSource source = ParseDirectShowScript(text);
    if (source.path[0] != '/') {
        const auto slash = scriptPath.rfind('/');
        if (slash != std::string::npos)
            source.path = scriptPath.substr(0, slash + 1) + source.path;
    }
    return source;
}

}  // namespace kestrava::encoder
