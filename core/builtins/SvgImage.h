// The clean-up that turns the text of an ".svg" file into the inner markup
// of its drawing and its size; shared by "svg" and "importer".
#pragma once

#include <string>

namespace mirelon {

class TMirelon;

struct TSvgImage {
  std::u16string Body;  // markup inside the outer svg element
  double Width = 0;
  double Height = 0;
};

// S is the file text, F the file name and P the caller's message prefix
// ("importer : " or "svg : ") for the messages it raises.
TSvgImage ReadSvgImage(TMirelon& M, const std::u16string& S, const std::u16string& F, const std::u16string& P);

}  // namespace mirelon
