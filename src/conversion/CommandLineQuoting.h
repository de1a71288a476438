#pragma once

#include <string>
#include <vector>

// One rule for putting a path into an encoder command line and one for taking the line apart
// again, so that the encoder receives exactly the path that was quoted, whatever it holds.
// The rule is the Windows command-line convention: inside double quotes a quote is written \",
// and backslashes are doubled only where they stand right before a quote (the closing one
// included). A path without quotes and without a trailing backslash comes out as "path".
std::string QuoteArgument(const std::string& text);

// Splits a command line into arguments by the same convention: blanks and tabs separate
// arguments outside quotes; 2n backslashes before a quote give n backslashes and the quote
// opens or closes quoting; 2n+1 backslashes before a quote give n backslashes and a literal
// quote; other backslashes stand for themselves; "" inside quotes gives one literal quote.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
