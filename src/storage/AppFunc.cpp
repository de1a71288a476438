#include "storage/AppFunc.h"

#include <ctime>
#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace {

std::locale UserLocale() {
    try {
        return std::locale("");
    } catch (const std::runtime_error&) {
        return std::locale::classic();
    }
}

}  // namespace

LocaleLogClock::LocaleLogClock() : Locale_(UserLocale()) {}

std::string LocaleLogClock::Now(const char* format) const {
    const std::time_t now = std::time(nullptr);
    const std::tm* converted = std::localtime(&now);  // callers are on one thread
    const std::tm local = converted != nullptr ? *converted : std::tm{};
    std::ostringstream text;
    text.imbue(Locale_);
    text << std::put_time(&local, format);
    return text.str();
}

std::string LocaleLogClock::ShortDate() const { return Now("%x"); }

std::string LocaleLogClock::LongTime() const { return Now("%X"); }

const ILogClock& DefaultLogClock() {
    static const LocaleLogClock clock;
    return clock;
}

TAppFunc::TAppFunc(std::string appPath, IFileSystem& fs, const ILogClock& clock)
    : AppPath_(std::move(appPath)), Fs_(&fs), Clock_(&clock) {
    if (!AppPath_.empty() && AppPath_.back() != '/' && AppPath_.back() != '\\') AppPath_ += '/';
}

void TAppFunc::WriteLog(const std::string& message) const {
    std::string line = "Dunmarrow ";
    line += Clock_->ShortDate();
    line += ' ';
    line += Clock_->LongTime();
    line += '|';
    line += message;
    line += "\r\n";
    Fs_->AppendFile(AppPath_ + "log.txt", line);
}
