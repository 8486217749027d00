// The drawing builtins: shapes, lines, texts, fills, the contour, the size,
// the animation and the colour builder. Each checks its count, resolves the
// canvas, checks the colour, converts the other arguments, and only then
// adds its element, so that a failing call leaves the canvas unchanged.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>

#include "core/builtins/CanvasKit.h"

namespace mirelon {

namespace {

using TArgs = TBuiltinArgs;
using TCoords = std::span<const TMirelonValue>;

int64_t Int(TMirelon& M, const TArgs& A, size_t i) { return M.ToInteger(A[i]); }

// Adds a filled shape (with the canvas's contour) and returns the canvas.
void AddShape(TMirelon& M, TArgs& A, TMirelonValue& R, std::u16string E) {
  M.AppendShape(CanvasId(A[0]), std::move(E));
  R = A[0];
}

// Appends an element as it is (no contour) and returns the canvas.
void AddElement(std::vector<std::u16string>& List, TArgs& A, TMirelonValue& R, std::u16string E) {
  List.push_back(std::move(E));
  R = A[0];
}

void Dimension(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCount(M, A, 3, u"dimension(toile, largeur, hauteur) attend 3 arguments");
  M.CanvasElements(A[0], u"dimension");
  int64_t w = Int(M, A, 1), h = Int(M, A, 2);
  if (w < 1 || w > 1000 || h < 1 || h > 1000) M.Fail(u"dimension : taille 1 a 1000");
  A[0].Rec->SetField(u"largeur", TMirelonValue::Number(static_cast<double>(w)));
  A[0].Rec->SetField(u"hauteur", TMirelonValue::Number(static_cast<double>(h)));
  R = A[0];
}

void Rectangle(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCountIn(M, A, 5, 6, u"rectangle(toile, x, y, largeur, hauteur [, couleur]) : 5 ou 6 arguments");
  M.CanvasElements(A[0], u"rectangle");
  std::u16string c = ColorArg(M, A, 5, u"black");
  AddShape(M, A, R,
           Format(u"<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"%s\"/>",
                  {Int(M, A, 1), Int(M, A, 2), Int(M, A, 3), Int(M, A, 4), c}));
}

void Cercle(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCountIn(M, A, 4, 5, u"cercle(toile, cx, cy, rayon [, couleur]) : 4 ou 5 arguments");
  M.CanvasElements(A[0], u"cercle");
  std::u16string c = ColorArg(M, A, 4, u"black");
  AddShape(M, A, R,
           Format(u"<circle cx=\"%d\" cy=\"%d\" r=\"%d\" fill=\"%s\"/>", {Int(M, A, 1), Int(M, A, 2), Int(M, A, 3), c}));
}

void Ellipse(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCountIn(M, A, 5, 6, u"ellipse(toile, cx, cy, rx, ry [, couleur]) : 5 ou 6 arguments");
  M.CanvasElements(A[0], u"ellipse");
  std::u16string c = ColorArg(M, A, 5, u"black");
  AddShape(M, A, R,
           Format(u"<ellipse cx=\"%d\" cy=\"%d\" rx=\"%d\" ry=\"%d\" fill=\"%s\"/>",
                  {Int(M, A, 1), Int(M, A, 2), Int(M, A, 3), Int(M, A, 4), c}));
}

void RectangleArrondi(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCountIn(M, A, 6, 7,
                 u"rectangle_arrondi(toile, x, y, largeur, hauteur, rayon [, couleur]) : 6 ou 7 arguments");
  M.CanvasElements(A[0], u"rectangle_arrondi");
  std::u16string c = ColorArg(M, A, 6, u"black");
  int64_t x = Int(M, A, 1), y = Int(M, A, 2), w = Int(M, A, 3), h = Int(M, A, 4), r = Int(M, A, 5);
  AddShape(M, A, R,
           Format(u"<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" rx=\"%d\" ry=\"%d\" fill=\"%s\"/>",
                  {x, y, w, h, r, r, c}));
}

void Ligne(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCountIn(M, A, 5, 7, u"ligne(toile, x1, y1, x2, y2 [, couleur [, epaisseur]]) : 5 a 7 arguments");
  auto& list = M.CanvasElements(A[0], u"ligne");
  std::u16string c = ColorArg(M, A, 5, u"black");
  int64_t width = A.size() > 6 ? TruncToInt64(std::max(1.0, M.ToNumber(A[6]))) : 1;
  AddElement(list, A, R,
             Format(u"<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"%s\" stroke-width=\"%d\" "
                    u"stroke-linecap=\"round\"/>",
                    {Int(M, A, 1), Int(M, A, 2), Int(M, A, 3), Int(M, A, 4), c, width}));
}

void Pixel(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCount(M, A, 4, u"pixel(toile, x, y, couleur) attend 4 arguments");
  auto& list = M.CanvasElements(A[0], u"pixel");
  if (list.size() >= 200000) M.Fail(u"pixel : trop d'elements sur la toile (max 200000)");
  int64_t x = Int(M, A, 1), y = Int(M, A, 2);
  std::u16string c = M.CheckColor(M.ValToText(A[3]));
  AddElement(list, A, R, Format(u"<rect x=\"%d\" y=\"%d\" width=\"1\" height=\"1\" fill=\"%s\"/>", {x, y, c}));
}

// The coordinates of "polygone" and "courbe" given one by one after the
// canvas; a final argument that is not a number is the colour.
TCoords ValueCoords(TMirelon& M, const TArgs& A, std::u16string& Color) {
  if (A.size() < 2) return {};
  size_t n = A.size() - 1;
  if (A.back().Kind != lvkNumber) {
    Color = M.CheckColor(M.ValToText(A.back()));
    --n;
  }
  return TCoords(A.data() + 1, n);
}

TCoords ArrayCoords(const TMirelonValue& V) {
  if (!V.Arr) return {};
  return TCoords(V.Arr->Items());
}

bool IsArrayForm(const TArgs& A) { return A.size() >= 2 && A[1].Kind == lvkArray; }

// "x,y x,y ..." with every coordinate as an integer.
std::u16string PointsText(TMirelon& M, TCoords C) {
  std::u16string r;
  for (size_t i = 0; i + 1 < C.size(); i += 2) {
    M.CheckAbort();
    if (i > 0) r += u' ';
    r += Format(u"%d,%d", {M.ToInteger(C[i]), M.ToInteger(C[i + 1])});
  }
  return r;
}

void Polygone(TMirelon& M, TArgs& A, TMirelonValue& R) {
  std::u16string color = u"black";
  TCoords coords;
  if (IsArrayForm(A)) {
    if (A.size() > 3) M.Fail(u"polygone(toile, tableau [, couleur]) : avec un tableau, 2 ou 3 arguments");
    color = ColorArg(M, A, 2, u"black");
    coords = ArrayCoords(A[1]);
  } else {
    coords = ValueCoords(M, A, color);
  }
  if (coords.size() < 6 || coords.size() % 2 != 0)
    M.Fail(u"polygone(toile, x1, y1, x2, y2, x3, y3, ... [, couleur]) : au moins 3 points (paires x,y)");
  M.CanvasElements(A[0], u"polygone");
  AddShape(M, A, R, Format(u"<polygon points=\"%s\" fill=\"%s\"/>", {PointsText(M, coords), color}));
}

void Courbe(TMirelon& M, TArgs& A, TMirelonValue& R) {
  auto& list = M.CanvasElements(A.empty() ? TMirelonValue() : A[0], u"courbe");
  std::u16string color = u"black";
  TCoords coords;
  if (IsArrayForm(A)) {
    if (A.size() > 3) M.Fail(u"courbe(toile, tableau [, couleur]) : 2 ou 3 arguments");
    color = ColorArg(M, A, 2, u"black");
    coords = ArrayCoords(A[1]);
    if (coords.size() < 4 || coords.size() % 2 != 0)
      M.Fail(u"courbe : le tableau doit contenir au moins 2 points (paires x,y)");
  } else {
    coords = ValueCoords(M, A, color);
    if (coords.size() < 4 || coords.size() % 2 != 0)
      M.Fail(u"courbe(toile, x1, y1, x2, y2, ... [, couleur]) : au moins 2 points (paires x,y)");
  }
  AddElement(list, A, R,
             Format(u"<polyline points=\"%s\" fill=\"none\" stroke=\"%s\" stroke-width=\"1\"/>",
                    {PointsText(M, coords), color}));
}

// A pie slice from the centre; angles in degrees, 0 pointing right and
// turning clockwise on screen (the y axis points down).
void Arc(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCountIn(M, A, 6, 7, u"arc(toile, cx, cy, rayon, angle_debut, angle_fin [, couleur]) : 6 ou 7 arguments");
  M.CanvasElements(A[0], u"arc");
  std::u16string c = ColorArg(M, A, 6, u"black");
  double cx = M.ToNumber(A[1]), cy = M.ToNumber(A[2]), radius = M.ToNumber(A[3]);
  double a0 = M.ToNumber(A[4]), a1 = M.ToNumber(A[5]);
  double r0 = a0 * std::numbers::pi / 180, r1 = a1 * std::numbers::pi / 180;
  int64_t x0 = RoundHalfEven(cx + radius * std::cos(r0)), y0 = RoundHalfEven(cy + radius * std::sin(r0));
  int64_t x1 = RoundHalfEven(cx + radius * std::cos(r1)), y1 = RoundHalfEven(cy + radius * std::sin(r1));
  int large = std::fabs(a1 - a0) > 180 ? 1 : 0;
  int sweep = a1 >= a0 ? 1 : 0;
  int64_t r = TruncToInt64(radius);
  AddShape(M, A, R,
           Format(u"<path d=\"M %d %d L %d %d A %d %d 0 %d %d %d %d Z\" fill=\"%s\"/>",
                  {TruncToInt64(cx), TruncToInt64(cy), x0, y0, r, r, large, sweep, x1, y1, c}));
}

// A rectangle over the whole canvas, painted below everything drawn so far.
void Remplir(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCount(M, A, 2, u"remplir(toile, couleur) attend 2 arguments");
  auto& list = M.CanvasElements(A[0], u"remplir");
  std::u16string c = M.CheckColor(M.ValToText(A[1]));
  int64_t w = CanvasIntField(M, A[0], u"largeur"), h = CanvasIntField(M, A[0], u"hauteur");
  list.insert(list.begin(), Format(u"<rect x=\"0\" y=\"0\" width=\"%d\" height=\"%d\" fill=\"%s\"/>", {w, h, c}));
  R = A[0];
}

void Label(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCountIn(M, A, 4, 7, u"label(toile, x, y, texte [, couleur [, taille [, angle]]]) : 4 à 7 arguments");
  auto& list = M.CanvasElements(A[0], u"label");
  std::u16string c = ColorArg(M, A, 4, u"black");
  int32_t size = A.size() > 5 ? Low32(Int(M, A, 5)) : 14;
  if (size < 1 || size > 100) M.Fail(u"label : la taille doit être comprise entre 1 et 100");
  double angle = A.size() > 6 ? M.ToNumber(A[6]) : 0;
  if (angle < -180 || angle > 180) M.Fail(u"label : l'angle doit être compris entre -180 et 180");
  int64_t x = Int(M, A, 1), y = Int(M, A, 2);
  std::u16string rotation;
  if (angle != 0) rotation = Format(u" transform=\"rotate(%s %d %d)\"", {DotNumberText(angle), x, y});
  AddElement(list, A, R,
             Format(u"<text x=\"%d\" y=\"%d\" fill=\"%s\" font-family=\"sans-serif\" font-size=\"%d\"%s>%s</text>",
                    {x, y, c, size, rotation, TMirelon::XmlEscape(M.ValToText(A[3]))}));
}

int64_t LabelSize(TMirelon& M, const TMirelonValue& V, std::u16string_view message) {
  int64_t size = M.ToInteger(V);
  if (size < 1 || size > 100) M.Fail(message);
  return size;
}

void LabelLargeur(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCount(M, A, 2, u"label_largeur(texte, taille) attend 2 arguments");
  double size = static_cast<double>(LabelSize(M, A[1], u"label_largeur : la taille doit être comprise entre 1 et 100"));
  double length = static_cast<double>(M.ValToText(A[0]).size());
  R = TMirelonValue::Number(static_cast<double>(RoundHalfEven(length * size * 0.55)));
}

void LabelHauteur(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCount(M, A, 1, u"label_hauteur(taille) attend 1 argument");
  double size = static_cast<double>(LabelSize(M, A[0], u"label_hauteur : la taille doit être comprise entre 1 et 100"));
  R = TMirelonValue::Number(static_cast<double>(RoundHalfEven(size * 1.2)));
}

// "#0", "0" or the number 0 switch the contour off.
bool IsContourOff(const TMirelonValue& V) {
  if (V.Kind == lvkNumber) return V.Num == 0;
  if (V.Kind != lvkText) return false;
  std::u16string t = Trim(V.Str.str());
  return t == u"#0" || t == u"0";
}

void Contour(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCountIn(M, A, 2, 3, u"contour(toile, couleur, epaisseur) : 2 ou 3 arguments");
  M.CanvasElements(A[0], u"contour");
  std::u16string stroke;
  if (!IsContourOff(A[1])) {
    std::u16string c = M.CheckColor(M.ValToText(A[1]));
    int32_t width = A.size() > 2 ? Low32(Int(M, A, 2)) : 1;
    if (width < 1 || width > 100) M.Fail(u"contour : l'épaisseur doit être comprise entre 1 et 100");
    stroke = Format(u"stroke=\"%s\" stroke-width=\"%d\"", {c, width});
  }
  M.FCanvasStroke[CanvasId(A[0])] = std::move(stroke);
  R = A[0];
}

void Effacer(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCount(M, A, 1, u"effacer(toile) attend 1 argument");
  std::vector<std::u16string>().swap(M.CanvasElements(A[0], u"effacer"));  // frees the entries' memory too
  R = A[0];
}

// The SVG document of one frame: a snapshot, or a canvas as it is now.
std::u16string FrameSvg(TMirelon& M, const TMirelonValue& V, int32_t Index) {
  if (V.Kind == lvkRecord && V.Rec) {
    if (const TMirelonValue* svg = V.Rec->FindField(u"__toile_svg")) return M.ValToText(*svg);
    if (V.Rec->HasField(u"__toile_id")) return M.BuildCanvasSvg(V);
  }
  M.FailFmt(u"animation : l'élément %d n'est pas une toile", {Index + 1});
}

// Writes "__ANIM__delay__repetitions__frame||FRAME||frame...__" as one entry.
void Animation(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCountIn(M, A, 2, 3, u"animation(tableau, ms [, repetitions]) attend 2 ou 3 arguments");
  if (A[0].Kind != lvkArray) M.Fail(u"animation : le 1er argument doit être un tableau de toiles");
  int64_t delay = std::clamp<int64_t>(Int(M, A, 1), 10, 60000);
  int32_t repeats = A.size() > 2 ? std::clamp<int32_t>(Low32(Int(M, A, 2)), 0, 20) : 0;
  int32_t count = A[0].Arr ? A[0].Arr->Count() : 0;
  if (count == 0) M.Fail(u"animation : le tableau ne contient aucune image");
  std::u16string out = Format(u"__ANIM__%d__%d__", {delay, repeats});
  for (int32_t i = 0; i < count; ++i) {
    M.CheckAbort();
    if (i > 0) out += u"||FRAME||";
    out += FrameSvg(M, A[0].Arr->Item(i), i);
    // Frames built from large canvases could otherwise exhaust the memory.
    if (out.size() > kMaxTextLength)
      M.FailFmt(u"Texte trop long : %d caractères (maximum 16 777 216)", {static_cast<int64_t>(out.size())});
  }
  out += u"__";
  M.Output(out);
  R = TMirelonValue::Number(count);
}

void Rgb(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCount(M, A, 3, u"rgb(r, v, b) attend 3 arguments");
  int64_t parts[3] = {Int(M, A, 0), Int(M, A, 1), Int(M, A, 2)};
  std::u16string r = u"#";
  for (int64_t p : parts) {
    if (p < 0 || p > 255) M.Fail(u"rgb : chaque composante doit être comprise entre 0 et 255");
    const char16_t* hex = u"0123456789ABCDEF";
    r += hex[p >> 4];
    r += hex[p & 15];
  }
  R = TMirelonValue::Text(r);
}

}  // namespace

std::span<const TBuiltinDef> CanvasBuiltins() {
  static const TBuiltinDef defs[] = {
    {u"dimension", Dimension},
    {u"rectangle", Rectangle},
    {u"cercle", Cercle},
    {u"ellipse", Ellipse},
    {u"rectangle_arrondi", RectangleArrondi},
    {u"ligne", Ligne},
    {u"pixel", Pixel},
    {u"polygone", Polygone},
    {u"courbe", Courbe},
    {u"arc", Arc},
    {u"remplir", Remplir},
    {u"label", Label},
    {u"label_largeur", LabelLargeur},
    {u"label_hauteur", LabelHauteur},
    {u"contour", Contour},
    {u"effacer", Effacer},
    {u"animation", Animation},
    {u"rgb", Rgb},
  };
  return defs;
}

}  // namespace mirelon
