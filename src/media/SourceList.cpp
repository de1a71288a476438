#include "media/SourceList.h"

std::string UpperAscii(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

int FindLastRowByPath(const ISourceList& list, const std::string& path) {
    const std::string wanted = UpperAscii(path);
    int found = -1;
    for (int row = 0; row < list.RowCount(); ++row) {
        if (UpperAscii(list.Cell(row, colFileName)) == wanted) found = row;
    }
    return found;
}
