#include "callfile.h"

namespace setupcall {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

// A word never grows while it is read (quotes only drop out), so it can be
// written over the text it comes from.
int SplitCallLine(char* line, char** words, int maxWords) {
  int count = 0;
  char* in = line;
  while (true) {
    while (IsBlank(*in)) ++in;
    if (*in == '\0') return count;
    if (count == maxWords) return kTooManyWords;
    char* out = in;
    words[count++] = out;
    while (*in != '\0' && !IsBlank(*in)) {
      if (*in != '"') {
        *out++ = *in++;
        continue;
      }
      ++in;  // opening quote
      while (true) {
        if (*in == '\0') return kOpenQuote;
        if (*in == '"') {
          if (in[1] == '"') {
            *out++ = '"';
            in += 2;
            continue;
          }
          ++in;  // closing quote
          break;
        }
        *out++ = *in++;
      }
    }
    const bool lineEnds = *in == '\0';
    *out = '\0';  // may fall on the blank after the word, which is passed next
    if (lineEnds) return count;
    ++in;
  }
}

bool IsBlankOrComment(const char* line) {
  for (; *line != '\0'; ++line) {
    if (IsBlank(*line)) continue;
    return *line == '#';
  }
  return true;
}

}  // namespace setupcall
