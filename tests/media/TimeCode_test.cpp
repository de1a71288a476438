#include "media/TimeCode.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "storage/Errors.h"

namespace {

using Pieces = std::vector<std::string>;

TEST(MediaTimeCode, SplitTextCases) {
    const struct {
        std::string text;
        char separator;
        Pieces pieces;
    } cases[] = {
        {"a:b:c", ':', {"a", "b", "c"}},
        {"a::c", ':', {"a", "", "c"}},
        {":a", ':', {"", "a"}},
        {"a:", ':', {"a"}},
        {"a", ':', {"a"}},
        {"", ':', {}},
        {":", ':', {""}},
        {"00:01:", ':', {"00", "01"}},
        {"1:2:3", ':', {"1", "2", "3"}},
        {"x|y", '|', {"x", "y"}},
        {"x:y", '|', {"x:y"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitText(c.text, c.separator), c.pieces) << c.text;
    }
}

TEST(MediaTimeCode, TextToNumberCases) {
    const struct {
        std::string text;
        double number;
    } cases[] = {
        {"12", 12},
        {"7.5 s", 7.5},
        {"1.2.3", 1.23},
        {"-5", -5},
        {"5-3", 53},
        {"abc", 0},
        {"+", 0},
        {"-", 0},
        {"", 0},
        {"   ", 0},
        {"  42  ", 42},
        {"+7", 7},
        {"-+-3", -3},
        {"1+2", 12},
        {".5", 0.5},
        {"5.", 5},
        {"9", 9},
        {"time=00:01:02.50", 102.5},
        {"10000000000", 10000000000.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(TextToNumber(c.text), c.number) << c.text;
    }
}

TEST(MediaTimeCode, TextToNumberRefusesKeptTextThatIsNoNumber) {
    for (const std::string text : {".", "+.", "-.", " . ", "a.b", "+-."}) {
        EXPECT_THROW(TextToNumber(text), ConvertError) << text;
    }
}

TEST(MediaTimeCode, PadNumberCases) {
    const struct {
        int digits;
        std::int64_t divisor, value;
        std::string text;
    } cases[] = {
        {2, 1, 5, "05"},   {2, 1, 123, "123"}, {2, 60000, 180000, "03"},
        {3, 10, 5, "000"}, {0, 1, 7, "7"},     {2, 1000, 59999, "59"},
        {4, 1, 12345678901LL, "12345678901"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PadNumber(c.digits, c.divisor, c.value), c.text)
            << c.digits << " " << c.divisor << " " << c.value;
    }
    EXPECT_THROW(PadNumber(2, 0, 5), std::invalid_argument);
}

TEST(MediaTimeCode, SecondsToTimeCodeAndClockCases) {
    const struct {
        std::int64_t seconds;
        std::string code;
    } cases[] = {
        {0, "00:00:00"},         {1, "00:00:01"},        {59, "00:00:59"},
        {60, "00:01:00"},        {3599, "00:59:59"},     {3600, "01:00:00"},
        {3723, "01:02:03"},      {86399, "23:59:59"},    {86400, "24:00:00"},
        {360000, "100:00:00"},   {443045, "123:04:05"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SecondsToTimeCode(c.seconds), c.code) << c.seconds;
        EXPECT_EQ(ClockText(c.seconds), c.code) << c.seconds;
    }
    for (std::int64_t negative : {-1LL, -3600LL, -360000LL}) {
        EXPECT_EQ(SecondsToTimeCode(negative), "00:00:00") << negative;
    }
    // Large enough that seconds * 1000 would not fit 64 bits.
    EXPECT_EQ(SecondsToTimeCode(9000000000000000000LL), "2500000000000000:00:00");
}

TEST(MediaTimeCode, StrToIntStrictCases) {
    const struct {
        std::string text;
        int value;
    } good[] = {{"0", 0}, {"12", 12}, {"-5", -5}, {"+5", 5}, {"007", 7}, {"2147483647", 2147483647}};
    for (const auto& c : good) EXPECT_EQ(StrToIntStrict(c.text), c.value) << c.text;

    for (const std::string text :
         {"", " 1", "1 ", "1.0", "a", "+", "-", "+-1", "--1", "12x", "2147483648", "0x10"}) {
        try {
            StrToIntStrict(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid integer value");
        }
    }
}

TEST(MediaTimeCode, ReadTimeCodeNeedsExactlyThreeIntegerPieces) {
    const struct {
        std::string text;
        bool read;
        std::int64_t seconds;
    } cases[] = {
        {"01:02:03", true, 3723},  {"1:2:3", true, 3723},   {"123:04:05", true, 443045},
        {"00:00:00", true, 0},     {"00:01:", false, 77},   {"", false, 77},
        {"01:02", false, 77},      {"1:2:3:4", false, 77},
    };
    for (const auto& c : cases) {
        std::int64_t seconds = 77;
        EXPECT_EQ(ReadTimeCode(c.text, seconds), c.read) << c.text;
        EXPECT_EQ(seconds, c.seconds) << c.text;
    }
    std::int64_t seconds = 77;
    EXPECT_THROW(ReadTimeCode("00:a0:00", seconds), ConvertError);
    EXPECT_THROW(ReadTimeCode("00::00", seconds), ConvertError);
    EXPECT_EQ(seconds, 77);
}

}  // namespace
