#pragma once

#include <locale>
#include <string>

#include "storage/FileSystem.h"

// The date and time texts of a log line, each read from the clock when it is formatted.
class ILogClock {
public:
    virtual ~ILogClock() = default;
    virtual std::string ShortDate() const = 0;  // the user's short date format
    virtual std::string LongTime() const = 0;   // the user's long time format
};

// The local clock in the user's locale ("%x" and "%X"); the classic locale when the user's
// cannot be loaded.
class LocaleLogClock : public ILogClock {
public:
    LocaleLogClock();
    std::string ShortDate() const override;
    std::string LongTime() const override;

private:
    std::string Now(const char* format) const;
    std::locale Locale_;
};

// The process-wide local clock.
const ILogClock& DefaultLogClock();

// The program folder and the log file "log.txt" in it.
class TAppFunc {
public:
    // `appPath` is the program folder; a trailing "/" is added when it ends in no separator.
    explicit TAppFunc(std::string appPath, IFileSystem& fs = DefaultFileSystem(),
                      const ILogClock& clock = DefaultLogClock());

    // Appends "Dunmarrow <date> <time>|<message>" and CR LF to the log, creating it on first
    // use. Throws FileError when the line cannot be written; the file is never left open.
    void WriteLog(const std::string& message) const;
    // The program folder with its trailing separator.
    const std::string& GetAppPath() const { return AppPath_; }

private:
    std::string AppPath_;
    IFileSystem* Fs_;
    const ILogClock* Clock_;
};
