#include "callfile.h"

namespace setupcall {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

bool SplitCallLine(const std::string& line, std::vector<std::string>* words) {
  words->clear();
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (true) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i >= n) return true;
    std::string word;
    while (i < n && !IsBlank(line[i])) {
      if (line[i] != '"') {
        word += line[i++];
        continue;
      }
      ++i;  // opening quote
      while (true) {
        if (i >= n) return false;
        if (line[i] == '"') {
          if (i + 1 < n && line[i + 1] == '"') {
            word += '"';
            i += 2;
            continue;
          }
          ++i;  // closing quote
          break;
        }
        word += line[i++];
      }
    }
    words->push_back(word);
  }
}

bool IsBlankOrComment(const std::string& line) {
  for (char c : line) {
    if (IsBlank(c)) continue;
    return c == '#';
  }
  return true;
}

}  // namespace setupcall
