#pragma once

#include <QString>
#include <string>

// The core's texts are UTF-8.
inline QString ToQt(const std::string& text) { return QString::fromStdString(text); }
inline std::string ToStd(const QString& text) { return text.toStdString(); }
