// Drawing builtins that add more than one plain shape, or bring a drawing in
// from outside: grids, gradients, bar charts, icon glyphs and SVG images.
// None goes through the contour; each checks everything before it draws.
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/builtins/CanvasKit.h"
#include "core/builtins/SvgImage.h"

namespace mirelon {

namespace {

using TArgs = TBuiltinArgs;

void Grille(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCountIn(M, A, 2, 3, u"grille(toile, pas [, couleur]) : 2 ou 3 arguments");
  auto& list = M.CanvasElements(A[0], u"grille");
  std::u16string c = ColorArg(M, A, 2, u"lightgray");
  int64_t step = M.ToInteger(A[1]);
  if (step < 1) M.Fail(u"grille : le pas doit être >= 1");
  int64_t w = CanvasIntField(M, A[0], u"largeur"), h = CanvasIntField(M, A[0], u"hauteur");
  if (w / step + h / step > 5000) M.Fail(u"grille : pas trop petit (trop de lignes)");
  std::u16string lines;
  // Counting the lines (rather than adding steps) cannot overflow for a huge step.
  for (int64_t k = 0; k <= w / step && w >= 0; ++k)
    lines += Format(u"<line x1=\"%d\" y1=\"0\" x2=\"%d\" y2=\"%d\" stroke=\"%s\" stroke-width=\"1\"/>",
                    {k * step, k * step, h, c});
  for (int64_t k = 0; k <= h / step && h >= 0; ++k)
    lines += Format(u"<line x1=\"0\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"%s\" stroke-width=\"1\"/>",
                    {k * step, w, k * step, c});
  list.push_back(std::move(lines));
  R = A[0];
}

// A horizontal linear gradient over the whole canvas, painted below everything.
void Degrade(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCount(M, A, 2, u"degrade(toile, [couleur1, couleur2, ...]) attend 2 arguments");
  auto& list = M.CanvasElements(A[0], u"degrade");
  if (A[1].Kind != lvkArray || !A[1].Arr)
    M.Fail(u"degrade : le 2e argument doit etre un tableau de couleurs, ex : degrade(toile, [#3f87a6, #ebf8e1, "
           u"#f69d3c])");
  const TMirelonArray& colors = *A[1].Arr;
  int32_t n = colors.Count();
  if (n < 2) M.Fail(u"degrade : il faut au moins 2 couleurs");
  std::u16string id = u"grad" + IntToText(NextRandom(1000000));
  std::u16string stops;
  for (int32_t i = 0; i < n; ++i) {
    M.CheckAbort();
    std::u16string c = M.CheckColor(M.ValToText(colors.Item(i)));
    int64_t offset = RoundHalfEven(static_cast<double>(i) / (n - 1) * 100);
    stops += Format(u"<stop offset=\"%d%%\" stop-color=\"%s\"/>", {offset, c});
  }
  list.insert(list.begin(),
              Format(u"<defs><linearGradient id=\"%s\" x1=\"0%%\" y1=\"0%%\" x2=\"100%%\" y2=\"0%%\">%s</linearGradient>"
                     u"</defs><rect x=\"0\" y=\"0\" width=\"100%%\" height=\"100%%\" fill=\"url(#%s)\"/>",
                     {id, stops, id}));
  R = A[0];
}

// "$" + hex read as a 32-bit integer (8 digits wrap to negative); false when unreadable.
bool ReadHex32(std::u16string_view s, int32_t& out) {
  if (s.empty()) return false;
  uint64_t v = 0;
  for (char16_t c : s) {
    int d = c >= u'0' && c <= u'9' ? c - u'0' : c >= u'a' && c <= u'f' ? c - u'a' + 10 : c >= u'A' && c <= u'F' ? c - u'A' + 10 : -1;
    if (d < 0) return false;
    v = v * 16 + d;
    if (v > 0xFFFFFFFFu) return false;
  }
  out = static_cast<int32_t>(static_cast<uint32_t>(v));
  return true;
}

std::u16string HexDigits(int64_t v) {
  static const char16_t digits[] = u"0123456789ABCDEF";
  uint64_t u = static_cast<uint64_t>(v);
  std::u16string r;
  do {
    r.insert(r.begin(), digits[u & 15]);
    u >>= 4;
  } while (u != 0);
  return r;
}

// The code point named by "icône"'s code: a number, or hex digits after an
// optional "U+" or "0x".
int32_t IconCodePoint(TMirelon& M, const TMirelonValue& Code) {
  std::u16string s;
  if (Code.Kind == lvkNumber) {
    s = HexDigits(M.ToInteger(Code));
  } else {
    s = Trim(M.ValToText(Code));
    if (s.size() >= 2 && ((s[0] == u'U' || s[0] == u'u') && s[1] == u'+')) s.erase(0, 2);
    else if (s.size() >= 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) s.erase(0, 2);
  }
  int32_t v = 0;
  if (!ReadHex32(s, v))
    M.FailFmt(u"icone : point de code Unicode invalide \"%s\" (ex. $E735)", {M.ValToText(Code)});
  if (v < 32 || v > 0x10FFFF) M.Fail(u"icone : point de code Unicode hors limites");
  if (v >= 0xD800 && v <= 0xDFFF)  // the host's character conversion refuses surrogates
    throw EHostError(u"Valeur caractère UTF32 non valide.  Doit être >= 0 et <= $10FFFF, à l'exception des plages de "
                     u"paires de substitution");
  return v;
}

std::u16string CodePointText(int32_t v) {
  if (v < 0x10000) return std::u16string(1, static_cast<char16_t>(v));
  v -= 0x10000;
  return {static_cast<char16_t>(0xD800 + (v >> 10)), static_cast<char16_t>(0xDC00 + (v & 0x3FF))};
}

void Icone(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCountIn(M, A, 4, 6, u"icone(toile, x, y, code [, couleur [, taille]]) : 4 à 6 arguments");
  auto& list = M.CanvasElements(A[0], u"icone");
  std::u16string glyph = CodePointText(IconCodePoint(M, A[3]));
  std::u16string c = ColorArg(M, A, 4, u"#000000");
  int32_t size = A.size() > 5 ? Low32(M.ToInteger(A[5])) : 24;
  if (size < 1 || size > 400) M.Fail(u"icone : la taille doit être comprise entre 1 et 400");
  int64_t x = M.ToInteger(A[1]), y = M.ToInteger(A[2]);
  list.push_back(Format(
      u"<text x=\"%d\" y=\"%d\" fill=\"%s\" font-family=\"Segoe MDL2 Assets\" font-size=\"%d\">%s</text>",
      {x, y, c, size, TMirelon::XmlEscape(glyph)}));
  R = A[0];
}

// The values of a bar chart and its colour, read from an array or from the
// arguments after the canvas.
std::vector<double> ChartValues(TMirelon& M, const TArgs& A, std::u16string& Color) {
  std::vector<double> values;
  if (A[1].Kind == lvkArray) {
    if (A.size() > 3) M.Fail(u"histogramme(toile, tableau [, couleur]) : 2 ou 3 arguments");
    Color = ColorArg(M, A, 2, Color);
    if (!A[1].Arr || A[1].Arr->Count() == 0) M.Fail(u"histogramme : le tableau est vide");
    values.reserve(A[1].Arr->Count());
    for (const TMirelonValue& v : A[1].Arr->Items()) {
      M.CheckAbort();
      values.push_back(M.ToNumber(v));
    }
    return values;
  }
  size_t end = A.size();
  if (A.back().Kind != lvkNumber) Color = M.CheckColor(M.ValToText(A[--end]));
  if (end < 2) M.Fail(u"histogramme(toile, valeurs... [, couleur]) : au moins une valeur");
  for (size_t i = 1; i < end; ++i) values.push_back(M.ToNumber(A[i]));
  return values;
}

// Bars scaled to the largest magnitude, each with its value written below.
// Every value and its label are checked before the first bar is added, so a
// failing chart leaves the canvas as it was.
void Histogramme(TMirelon& M, TArgs& A, TMirelonValue& R) {
  if (A.size() < 2) M.Fail(u"histogramme(toile, tableau|valeurs... [, couleur]) : au moins 2 arguments");
  auto& list = M.CanvasElements(A[0], u"histogramme");
  std::u16string color = u"#4A90D9";
  std::vector<double> values = ChartValues(M, A, color);
  std::vector<std::u16string> labels;
  labels.reserve(values.size());
  double largest = 0;
  for (double v : values) {
    M.CheckAbort();
    labels.push_back(TMirelon::XmlEscape(NumberToText(TMirelonValue::Number(v).Num)));
    largest = std::max(largest, std::fabs(v));
  }
  if (largest == 0) largest = 1;
  int64_t w = CanvasIntField(M, A[0], u"largeur"), h = CanvasIntField(M, A[0], u"hauteur");
  int64_t n = static_cast<int64_t>(values.size());
  int64_t base = h - 22 > 0 ? h - 22 : h;
  int64_t tall = base - 16 > 0 ? base - 16 : 1;
  int64_t slot = std::max<int64_t>(3, (w - 20) / n);
  int64_t bar = slot * 7 / 10;
  if (bar <= 0) bar = 1;
  list.reserve(list.size() + 2 * values.size());  // one allocation, not a pause in the loop
  for (int64_t i = 0; i < n; ++i) {
    M.CheckAbort();
    double v = values[i];
    int64_t x = i * slot + (slot - bar) / 2 + 10;
    int64_t hv = TruncToInt64(std::fabs(v) / largest * static_cast<double>(tall));
    if (hv == 0 && v != 0) hv = 1;
    list.push_back(Format(u"<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"%s\"/>",
                          {x, base - hv, bar, hv, color}));
    list.push_back(Format(u"<text x=\"%d\" y=\"%d\" fill=\"#333333\" font-family=\"sans-serif\" font-size=\"12\" "
                          u"text-anchor=\"middle\">%s</text>",
                          {x + bar / 2, base + 16, labels[i]}));
  }
  R = A[0];
}

// The extension of a path: from its last "." after the last separator.
std::u16string PathExtension(const std::u16string& Path) {
  size_t dot = Path.rfind(u'.');
  size_t sep = Path.find_last_of(u"\\:/");
  if (dot == std::u16string::npos || (sep != std::u16string::npos && dot < sep)) return u"";
  return Path.substr(dot);
}

// The drawing of an ".svg" file at Path, read as UTF-8.
TSvgImage ReadSvgFile(TMirelon& M, const std::u16string& Path) {
  std::filesystem::path file = ProgramPath(M, Path);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) M.FailFmt(u"svg : fichier introuvable \"%s\"", {Path});
  std::u16string ext = PathExtension(Path);
  if (AsciiLower(ext) != u".svg") M.FailFmt(u"svg : le fichier doit être un \".svg\" (reçu \"%s\")", {ext});
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  if (in) bytes << in.rdbuf();
  if (!in || in.bad()) M.FailFmt(u"svg : impossible de lire \"%s\" (%s)", {Path, U(std::strerror(errno))});
  return ReadSvgImage(M, Utf8ToUtf16(StripBom(bytes.str())), Path, u"svg : ");
}

// Draws an SVG image, from an image value or a file, stretched to exactly
// largeur x hauteur.
void Svg(TMirelon& M, TArgs& A, TMirelonValue& R) {
  RequireCount(M, A, 6, u"svg(toile, x, y, chemin, largeur, hauteur) attend 6 arguments");
  auto& list = M.CanvasElements(A[0], u"svg");
  int64_t x = M.ToInteger(A[1]), y = M.ToInteger(A[2]), w = M.ToInteger(A[4]), h = M.ToInteger(A[5]);
  std::u16string path = Trim(M.ValToText(A[3]));
  if (w < 1 || h < 1) M.Fail(u"svg : la largeur et la hauteur doivent être supérieures à 0");
  TSvgImage image;
  if (A[3].Kind == lvkImage) {
    if (!A[3].Rec) M.Fail(u"svg : image vide");
    image.Body = M.ValToText(A[3].Rec->GetField(u"__image_svg"));
    image.Width = M.ToNumber(A[3].Rec->GetField(u"__src_w"));
    image.Height = M.ToNumber(A[3].Rec->GetField(u"__src_h"));
  } else {
    image = ReadSvgFile(M, path);
  }
  double sw = image.Width > 0 ? image.Width : static_cast<double>(w);
  double sh = image.Height > 0 ? image.Height : static_cast<double>(h);
  list.push_back(Format(u"<g transform=\"translate(%d,%d) scale(%s,%s)\">%s</g>",
                        {x, y, DotNumberText(static_cast<double>(w) / sw), DotNumberText(static_cast<double>(h) / sh),
                         image.Body}));
  R = A[0];
}

}  // namespace

std::span<const TBuiltinDef> CompositionBuiltins() {
  static const TBuiltinDef defs[] = {
    {u"grille", Grille},
    {u"degrade/dégradé", Degrade},
    {u"icone/icône", Icone},
    {u"histogramme", Histogramme},
    {u"svg", Svg},
  };
  return defs;
}

}  // namespace mirelon
