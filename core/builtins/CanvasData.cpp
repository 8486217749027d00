// Canvas data shared by the drawing builtins: placeholder until the drawing
// unit is built.
#include "core/builtins/Builtins.h"

namespace mirelon {

std::u16string TMirelon::CreateCanvas(int64_t W, int64_t H) {
  if (W < 1 || H < 1 || W > 1000 || H > 1000) Fail(u"toile : dimensions invalides (1 a 1000)");
  ++FCanvasSeq;
  std::u16string id = u"__toile_" + IntToText(FCanvasSeq);
  FCanvases[id];
  return id;
}

TMirelonValue TMirelon::NewCanvasValue(int64_t W, int64_t H) {
  IMirelonRecord r = TMirelonRecord::New();
  r->SetField(u"__toile_id", TMirelonValue::Text(CreateCanvas(W, H)));
  r->SetField(u"largeur", TMirelonValue::Number(static_cast<double>(W)));
  r->SetField(u"hauteur", TMirelonValue::Number(static_cast<double>(H)));
  return TMirelonValue::RecordVal(r);
}

TMirelonValue TMirelon::NewImageValue() {
  IMirelonRecord r = TMirelonRecord::New();
  r->SetField(u"__image_svg", TMirelonValue::Text(u""));
  r->SetField(u"__src_w", TMirelonValue::Number(0));
  r->SetField(u"__src_h", TMirelonValue::Number(0));
  return TMirelonValue::ImageVal(r);
}

std::vector<std::u16string>& TMirelon::CanvasElements(const TMirelonValue& V, std::u16string_view Name) {
  const TMirelonValue* id = V.Kind == lvkRecord && V.Rec ? V.Rec->FindField(u"__toile_id") : nullptr;
  if (!id) FailFmt(u"%s : le 1er argument doit etre une toile", {Name});
  auto it = FCanvases.find(ValToText(*id));
  if (it == FCanvases.end()) FailFmt(u"%s : toile introuvable", {Name});
  return it->second;
}

void TMirelon::AppendShape(const std::u16string& Id, std::u16string E) {
  auto it = FCanvases.find(Id);
  if (it != FCanvases.end()) it->second.push_back(std::move(E));
}

std::u16string TMirelon::CheckColor(const std::u16string& T) { return Trim(T); }

std::u16string TMirelon::XmlEscape(std::u16string_view T) { return std::u16string(T); }

std::u16string TMirelon::BuildCanvasSvg(const TMirelonValue& V) {
  std::u16string r = u"<svg>";
  for (auto& e : CanvasElements(V, u"affiche")) r += e;
  return r + u"</svg>";
}

TMirelonValue TMirelon::CanvasSnapshot(const TMirelonValue& V) {
  IMirelonRecord r = TMirelonRecord::New();
  r->SetField(u"__toile_svg", TMirelonValue::Text(BuildCanvasSvg(V)));
  return TMirelonValue::RecordVal(r);
}

void TMirelon::ShowCanvas(const TMirelonValue& V) { Output(u"__SVG__" + BuildCanvasSvg(V) + u"__"); }

}  // namespace mirelon
