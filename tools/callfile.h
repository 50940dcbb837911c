// Parsing of setupcall's call lists, apart from the program so that the
// tests can reach it.
#pragma once

#include <string>
#include <vector>

namespace setupcall {

// Splits one line of a call list into words. Words are separated by blanks
// or tabs; a word in double quotes may hold blanks, and "" inside quotes
// stands for one quote character. Backslashes are ordinary characters, so
// Windows paths need no escaping. False when a quote is left open.
bool SplitCallLine(const std::string& line, std::vector<std::string>* words);

// True for lines that hold no call: empty, blanks only, or a comment whose
// first non-blank character is '#'.
bool IsBlankOrComment(const std::string& line);

}  // namespace setupcall
