#include "storage/ProductInfo.h"

void SplitString(const std::string& text, char separator, std::vector<std::string>& list) {
    list.clear();
    std::string piece;
    for (char c : text) {
        if (c == separator) {
            if (!piece.empty()) list.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty()) list.push_back(piece);
}

std::string VersionTextFromFileVersion(const std::string& fileVersion) {
    std::vector<std::string> pieces;
    SplitString(fileVersion, '.', pieces);
    if (pieces.size() < 2) return {};
    return pieces[0] + "." + pieces[1];
}

std::string MakeWindowTitle(const TRecSoftInfo& info) { return info.ProductName + " " + info.Version; }
