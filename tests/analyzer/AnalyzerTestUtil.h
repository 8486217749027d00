// Helpers for the analyzer tests: diagnostics as short readable lines
// "E<line> <message>" (error) or "W<line> <message>" (warning).
#pragma once

#include <string>
#include <vector>

#include "analyzer/Analyzer.h"
#include "core/Text.h"

namespace mirelon::test {

using TFindings = std::vector<std::string>;

inline TFindings Findings(const std::string& utf8Source) {
  std::vector<TMirelonDiagnostic> diags;
  TMirelonAnalyzer().Analyze(Utf8ToUtf16(utf8Source), diags);
  TFindings out;
  for (const auto& d : diags) out.push_back((d.IsFatal ? "E" : "W") + std::to_string(d.Line) + " " + Utf16ToUtf8(d.Msg));
  return out;
}

}  // namespace mirelon::test
