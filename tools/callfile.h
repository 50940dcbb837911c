// Parsing of setupcall's call lists, apart from the program so that the
// tests can reach it.
#pragma once

namespace setupcall {

// More words than any export takes arguments, with room to spare.
const int kMaxWords = 64;

// Negative results of SplitCallLine.
const int kOpenQuote = -1;
const int kTooManyWords = -2;

// Splits one line of a call list into words, in place: the words are
// written back into `line`, each ended by a NUL, and `words` receives
// pointers to them. Words are separated by blanks or tabs; a word in double
// quotes may hold blanks, and "" inside quotes stands for one quote
// character. Backslashes are ordinary characters, so Windows paths need no
// escaping. Returns the number of words, kOpenQuote when a quote is left
// open, kTooManyWords when the line holds more than `maxWords`; `line` is
// left partly rewritten on failure.
int SplitCallLine(char* line, char** words, int maxWords);

// True for lines that hold no call: empty, blanks only, or a comment whose
// first non-blank character is '#'.
bool IsBlankOrComment(const char* line);

}  // namespace setupcall
