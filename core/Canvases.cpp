// The canvases of a run: their registry and element lists, the contour,
// colour checks, escaping and the SVG document of a canvas. They belong to
// the interpreter because declarations create canvases and "affiche" shows
// them; the drawing builtins add the shapes.
#include "core/Canvases.h"

#include <algorithm>

namespace mirelon {

namespace {

const char16_t kCanvasIdField[] = u"__toile_id";

bool IsHexDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

// "#RGB" or "#RRGGBB".
bool IsHexColor(std::u16string_view s) {
  if ((s.size() != 4 && s.size() != 7) || s[0] != u'#') return false;
  for (size_t i = 1; i < s.size(); ++i)
    if (!IsHexDigit(s[i])) return false;
  return true;
}

}  // namespace

std::u16string TMirelon::CreateCanvas(int64_t W, int64_t H) {
  if (W < 1 || H < 1 || W > 1000 || H > 1000) Fail(u"toile : dimensions invalides (1 a 1000)");
  ++FCanvasSeq;
  std::u16string id = u"__toile_" + IntToText(FCanvasSeq);
  FCanvases[id];
  return id;
}

TMirelonValue TMirelon::NewCanvasValue(int64_t W, int64_t H) {
  IMirelonRecord r = TMirelonRecord::New();
  r->SetField(kCanvasIdField, TMirelonValue::Text(CreateCanvas(W, H)));
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
  const TMirelonValue* id = V.Kind == lvkRecord && V.Rec ? V.Rec->FindField(kCanvasIdField) : nullptr;
  if (!id) FailFmt(u"%s : le 1er argument doit etre une toile", {Name});
  auto it = FCanvases.find(ValToText(*id));
  if (it == FCanvases.end()) FailFmt(u"%s : toile introuvable", {Name});
  return it->second;
}

void TMirelon::AppendShape(const std::u16string& Id, std::u16string E) {
  auto it = FCanvases.find(Id);
  if (it == FCanvases.end()) return;
  auto stroke = FCanvasStroke.find(Id);
  if (stroke != FCanvasStroke.end() && !stroke->second.empty() && E.ends_with(u"/>")) {
    E.resize(E.size() - 2);
    E += u' ';
    E += stroke->second;
    E += u"/>";
  }
  it->second.push_back(std::move(E));
}

std::u16string TMirelon::CheckColor(const std::u16string& T) {
  std::u16string u = Trim(T);
  if (!IsHexColor(u))
    FailFmt(u"Couleur invalide : \"%s\". Utilisez un code hexadécimal #RRGGBB (ex. #FF0000) ou #RGB (ex. #F00).", {T});
  return u;
}

std::u16string TMirelon::XmlEscape(std::u16string_view T) {
  std::u16string r;
  r.reserve(T.size());
  for (char16_t c : T) {
    switch (c) {
      case u'&': r += u"&amp;"; break;
      case u'<': r += u"&lt;"; break;
      case u'>': r += u"&gt;"; break;
      case u'"': r += u"&quot;"; break;
      case u'\'': r += u"&#39;"; break;
      default: r += c;
    }
  }
  return r;
}

std::u16string TMirelon::BuildCanvasSvg(const TMirelonValue& V) {
  const std::vector<std::u16string>& elements = CanvasElements(V, u"affiche");
  std::u16string w = IntToText(std::max<int64_t>(1, CanvasIntField(*this, V, u"largeur")));
  std::u16string h = IntToText(std::max<int64_t>(1, CanvasIntField(*this, V, u"hauteur")));
  size_t total = 128;
  for (const std::u16string& e : elements) total += e.size();
  std::u16string r;
  r.reserve(total);
  r += u"<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + u"\" height=\"" + h + u"\" viewBox=\"0 0 " + w +
       u" " + h + u"\">";
  for (const std::u16string& e : elements) {
    CheckAbort();
    for (char16_t c : e)
      if (c != u'\r' && c != u'\n') r += c;
  }
  r += u"</svg>";
  return r;
}

TMirelonValue TMirelon::CanvasSnapshot(const TMirelonValue& V) {
  IMirelonRecord r = TMirelonRecord::New();
  r->SetField(u"__toile_svg", TMirelonValue::Text(BuildCanvasSvg(V)));
  return TMirelonValue::RecordVal(r);
}

void TMirelon::ShowCanvas(const TMirelonValue& V) { Output(u"__SVG__" + BuildCanvasSvg(V) + u"__"); }

std::u16string CanvasId(const TMirelonValue& Canvas) { return ValToText(*Canvas.Rec->FindField(kCanvasIdField)); }

int64_t CanvasIntField(TMirelon& M, const TMirelonValue& Canvas, std::u16string_view Name) {
  return M.ToInteger(Canvas.Rec->GetField(Name));
}

}  // namespace mirelon
