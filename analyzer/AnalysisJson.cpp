#include "analyzer/AnalysisJson.h"

#include <exception>

#include "core/Errors.h"
#include "json/JsonWriter.h"

namespace mirelon {

std::string DiagnosticsJson(const std::vector<TMirelonDiagnostic>& Diagnostics) {
  TJsonWriter w;
  w.BeginObject().Key(u"diagnostics").BeginArray();
  for (const auto& d : Diagnostics)
    w.BeginObject().Key(u"line").Integer(d.Line).Key(u"msg").String(d.Msg).Key(u"fatal").Bool(d.IsFatal).EndObject();
  w.EndArray().Key(u"ok").Bool(Diagnostics.empty()).EndObject();
  return w.Text();
}

std::string AnalysisJson(const std::u16string& Source, bool& Failed) {
  std::u16string error;
  try {
    std::vector<TMirelonDiagnostic> diags;
    Failed = !TMirelonAnalyzer().Analyze(Source, diags);
    return DiagnosticsJson(diags);
  } catch (const Exception& e) {
    error = e.Message();
  } catch (const std::exception& e) {
    error = Utf8ToUtf16(e.what());
  }
  Failed = true;
  return TJsonWriter().BeginObject().Key(u"error").String(error).EndObject().Text();
}

}  // namespace mirelon
