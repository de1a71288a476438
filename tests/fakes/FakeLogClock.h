#pragma once

#include <string>

#include "storage/AppFunc.h"

// A clock with fixed texts; counts how often each was read.
class FakeLogClock : public ILogClock {
public:
    FakeLogClock(std::string date = "2024-05-14", std::string time = "09:05:07")
        : Date(std::move(date)), Time(std::move(time)) {}
    std::string ShortDate() const override {
        ++DateReads;
        return Date;
    }
    std::string LongTime() const override {
        ++TimeReads;
        return Time;
    }

    std::string Date;
    std::string Time;
    mutable int DateReads = 0;
    mutable int TimeReads = 0;
};
