// The JSON form of an analysis, shared by the "/api/analyze" route and the
// command "mirelon analyze FILE".
#pragma once

#include <string>
#include <vector>

#include "analyzer/Analyzer.h"

namespace mirelon {

// {"diagnostics":[{"line":L,"msg":M,"fatal":B},...],"ok":B}; "ok" is true only
// when there is no diagnostic at all (a warning alone makes it false).
std::string DiagnosticsJson(const std::vector<TMirelonDiagnostic>& Diagnostics);

// Analyses Source and gives DiagnosticsJson of the result, or {"error":MESSAGE}
// when the text cannot be lexed. Failed is set when an error was found or the
// lexer refused the text; warnings alone leave it false.
std::string AnalysisJson(const std::u16string& Source, bool& Failed);

}  // namespace mirelon
