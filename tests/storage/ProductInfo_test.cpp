#include "storage/ProductInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(StorageProductInfo, SplitStringDropsEmptyPieces) {
    struct Case {
        std::string text;
        std::vector<std::string> pieces;
    } cases[] = {
        {"1.4.0.0", {"1", "4", "0", "0"}},
        {".1..4.", {"1", "4"}},
        {"", {}},
        {"...", {}},
    };
    std::vector<std::string> list{"stale"};
    for (const Case& c : cases) {
        SplitString(c.text, '.', list);
        EXPECT_EQ(list, c.pieces) << c.text;
    }
}

TEST(StorageProductInfo, TitleFromProductNameAndFileVersion) {
    TRecSoftInfo info;
    info.ProductName = "Kestrava";
    info.Version = VersionTextFromFileVersion("1.4.0.0");
    EXPECT_EQ(MakeWindowTitle(info), "Kestrava 1.4");
    EXPECT_EQ(VersionTextFromFileVersion("7"), "");
    info.ProductName.clear();
    EXPECT_EQ(MakeWindowTitle(info), " 1.4");
}

}  // namespace
