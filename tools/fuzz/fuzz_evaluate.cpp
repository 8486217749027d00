// Feeds any text to the "évaluer" reader, called as a builtin.
#include "core/builtins/Builtins.h"
#include "core/Names.h"
#include "tools/fuzz/FuzzInput.h"

using namespace mirelon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TBuiltinFunc evaluate = BuiltinFunction(BuiltinIndex().at(FoldName(u"évaluer")));
  fuzz::Guarded([&] {
    TMirelon M{StandardBuiltins()};
    TMirelonValue text = TMirelonValue::Text(fuzz::InputText(data, size));
    TBuiltinArgs args(&text, 1);
    TMirelonValue result;
    evaluate(M, args, result);
  });
  return 0;
}
