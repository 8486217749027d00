#include <chrono>
#include <filesystem>
#include <fstream>

#include "CanvasTestKit.h"
#include "core/builtins/SvgImage.h"

using namespace canvastest;

namespace {

class CanvasCompositions : public ::testing::Test {
 protected:
  TMirelon M{StandardBuiltins()};
  TMirelonValue C = M.NewCanvasValue(200, 120);
};

size_t Count(const std::string& s, const std::string& part) {
  size_t n = 0;
  for (size_t p = s.find(part); p != std::string::npos; p = s.find(part, p + 1)) ++n;
  return n;
}

TEST_F(CanvasCompositions, GridLinesAndLimit) {
  Call(M, "dimension", {C, N(20), N(10)});
  Call(M, "grille", {C, N(10)});
  ASSERT_EQ(Entries(M, C).size(), 1u);
  std::string g = Last(M, C);
  EXPECT_EQ(Count(g, "<line"), 5u);
  EXPECT_EQ(g.rfind("<line x1=\"0\" y1=\"0\" x2=\"0\" y2=\"10\" stroke=\"lightgray\" stroke-width=\"1\"/><line x1", 0), 0u);
  EXPECT_NE(g.find("<line x1=\"0\" y1=\"10\" x2=\"20\" y2=\"10\""), std::string::npos);
  Call(M, "dimension", {C, N(1000), N(1000)});
  Call(M, "grille", {C, N(1), T("#ccc")});
  EXPECT_EQ(Count(Last(M, C), "<line"), 2002u);
  C.Rec->SetField(u"largeur", N(10000));
  EXPECT_EQ(CallError(M, "grille", {C, N(1)}), "grille : pas trop petit (trop de lignes)");
  EXPECT_EQ(CallError(M, "grille", {C, N(0.5)}), "grille : le pas doit être >= 1");
}

TEST_F(CanvasCompositions, GradientStopsAndSeed) {
  SeedRandom(0);
  Call(M, "cercle", {C, N(1), N(1), N(1)});
  Call(M, "degrade", {C, List({T("#000"), T("#FFF")})});
  Call(M, "dégradé", {C, List({T("#000"), T("#111"), T("#222"), T("#333")})});
  auto e = Entries(M, C);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0],
            "<defs><linearGradient id=\"grad31379\" x1=\"0%\" y1=\"0%\" x2=\"100%\" y2=\"0%\"><stop offset=\"0%\" "
            "stop-color=\"#000\"/><stop offset=\"33%\" stop-color=\"#111\"/><stop offset=\"67%\" "
            "stop-color=\"#222\"/><stop offset=\"100%\" stop-color=\"#333\"/></linearGradient></defs><rect x=\"0\" "
            "y=\"0\" width=\"100%\" height=\"100%\" fill=\"url(#grad31379)\"/>");
  EXPECT_NE(e[1].find("id=\"grad0\""), std::string::npos);
  Call(M, "degrade", {C, List({T("#000"), T("#111"), T("#222"), T("#333"), T("#444"), T("#555"), T("#666"),
                               T("#777"), T("#888")})});
  EXPECT_NE(Entries(M, C)[0].find("<stop offset=\"12%\" stop-color=\"#111\"/>"), std::string::npos);
  EXPECT_NE(Entries(M, C)[0].find("<stop offset=\"38%\" stop-color=\"#333\"/>"), std::string::npos);
  EXPECT_EQ(CallError(M, "degrade", {C, List({T("#000")})}), "degrade : il faut au moins 2 couleurs");
  EXPECT_EQ(CallError(M, "degrade", {C, T("#000")}).substr(0, 43), "degrade : le 2e argument doit etre un table");
}

TEST_F(CanvasCompositions, IconCodes) {
  Call(M, "icône", {C, N(40), N(75), T("U+E735")});
  std::string a = Last(M, C);
  Call(M, "icone", {C, N(40), N(75), N(59189)});
  EXPECT_EQ(Last(M, C), a);
  EXPECT_EQ(a, "<text x=\"40\" y=\"75\" fill=\"#000000\" font-family=\"Segoe MDL2 Assets\" font-size=\"24\">\xEE\x9C\xB5</text>");
  Call(M, "icone", {C, N(0), N(0), T("0x3C"), T("#F00"), N(300)});
  EXPECT_NE(Last(M, C).find("font-size=\"300\">&lt;</text>"), std::string::npos);
  Call(M, "icone", {C, N(0), N(0), T("1F600")});
  EXPECT_NE(Last(M, C).find(">\xF0\x9F\x98\x80</text>"), std::string::npos);
  EXPECT_EQ(CallError(M, "icone", {C, N(0), N(0), T("$E735")}),
            "icone : point de code Unicode invalide \"$E735\" (ex. $E735)");
  EXPECT_EQ(CallError(M, "icone", {C, N(0), N(0), N(31)}), "icone : point de code Unicode hors limites");
  EXPECT_EQ(CallError(M, "icone", {C, N(0), N(0), T("110000")}), "icone : point de code Unicode hors limites");
  // The code is checked before the colour.
  EXPECT_EQ(CallError(M, "icone", {C, N(0), N(0), T("zz"), T("red")}).substr(0, 38),
            "icone : point de code Unicode invalide");
  EXPECT_THROW(Call(M, "icone", {C, N(0), N(0), T("D800")}), EHostError);
  EXPECT_EQ(Entries(M, C).size(), 4u);
}

TEST_F(CanvasCompositions, BarChart) {
  Call(M, "histogramme", {C, N(3), N(0), N(-5)});
  auto e = Entries(M, C);
  ASSERT_EQ(e.size(), 6u);
  EXPECT_EQ(e[0], "<rect x=\"19\" y=\"49\" width=\"42\" height=\"49\" fill=\"#4A90D9\"/>");
  EXPECT_EQ(e[1], "<text x=\"40\" y=\"114\" fill=\"#333333\" font-family=\"sans-serif\" font-size=\"12\" "
                  "text-anchor=\"middle\">3</text>");
  EXPECT_EQ(e[2], "<rect x=\"79\" y=\"98\" width=\"42\" height=\"0\" fill=\"#4A90D9\"/>");
  EXPECT_EQ(e[4], "<rect x=\"139\" y=\"16\" width=\"42\" height=\"82\" fill=\"#4A90D9\"/>");
  EXPECT_NE(e[5].find(">-5</text>"), std::string::npos);
  Call(M, "histogramme", {C, List({N(1), N(2.5)}), T("#FF0000")});
  EXPECT_NE(Last(M, C).find(">2,5</text>"), std::string::npos);
  EXPECT_NE(Entries(M, C)[8].find("fill=\"#FF0000\""), std::string::npos);
  Call(M, "histogramme", {C, List({N(1234567.9)})});  // the label shows the number as written
  EXPECT_NE(Last(M, C).find(">1234567,9</text>"), std::string::npos);
}

TEST_F(CanvasCompositions, BarChartFailuresDrawNothing) {
  EXPECT_EQ(CallError(M, "histogramme", {C, List({})}), "histogramme : le tableau est vide");
  EXPECT_EQ(CallError(M, "histogramme", {C, T("#FF0000")}),
            "histogramme(toile, valeurs... [, couleur]) : au moins une valeur");
  EXPECT_EQ(CallError(M, "histogramme", {C, T("x")}).substr(0, 16), "Couleur invalide");
  EXPECT_EQ(CallError(M, "histogramme", {C}), "histogramme(toile, tableau|valeurs... [, couleur]) : au moins 2 arguments");
  // A value beyond 2^53 given as a text fails before any bar is drawn.
  EXPECT_NE(CallError(M, "histogramme", {C, List({N(1), T("1e20")})}).find("2^53"), std::string::npos);
  EXPECT_NE(CallError(M, "histogramme", {C, N(1), T("1e20"), N(2)}).find("2^53"), std::string::npos);
  EXPECT_TRUE(Entries(M, C).empty());
}

TEST_F(CanvasCompositions, SvgFromImageValue) {
  TMirelonValue img = TMirelon::NewImageValue();
  img.Rec->SetField(u"__image_svg", T("<circle r=\"1\"/>"));
  img.Rec->SetField(u"__src_w", N(24));
  Call(M, "svg", {C, N(5), N(6), img, N(48), N(8)});
  // No source height: drawn at scale 1 in that direction.
  EXPECT_EQ(Last(M, C), "<g transform=\"translate(5,6) scale(2,1)\"><circle r=\"1\"/></g>");
  img.Rec->SetField(u"__src_h", N(24));
  Call(M, "svg", {C, N(0), N(0), img, N(8), N(100)});
  EXPECT_NE(Last(M, C).find("scale(0.333333333333333,4.16666666666667)"), std::string::npos);
  EXPECT_EQ(CallError(M, "svg", {C, N(0), N(0), img, N(0), N(10)}),
            "svg : la largeur et la hauteur doivent être supérieures à 0");
}

class CanvasSvgFiles : public CanvasCompositions {
 protected:
  std::filesystem::path Dir = std::filesystem::temp_directory_path() / ("canvas_svg_" + std::to_string(getpid()));
  void SetUp() override { std::filesystem::create_directories(Dir); }
  void TearDown() override { std::filesystem::remove_all(Dir); }
  TMirelonValue Write(const std::string& name, const std::string& content) {
    std::ofstream(Dir / name, std::ios::binary) << content;
    return TMirelonValue::Text(Utf8ToUtf16((Dir / name).string()));
  }
  TSvgImage Read(const std::string& content) { return ReadSvgImage(M, U(content), u"f.svg", u"svg : "); }
};

TEST_F(CanvasSvgFiles, ReadsSizeAndBody) {
  TSvgImage a = Read("<?xml version=\"1.0\"?><!-- <svg width=\"9\"> --><svg width=\"24px\" height=\"12\">\r\n<g/></svg>x");
  EXPECT_EQ(a.Width, 24);
  EXPECT_EQ(a.Height, 12);
  EXPECT_EQ(Utf16ToUtf8(a.Body), "  <g/>");
  TSvgImage b = Read("<SVG viewBox=\"0,0,32,16\" width=\"5\"><rect/></SVG>");
  EXPECT_EQ(b.Width, 32);
  EXPECT_EQ(b.Height, 16);
  EXPECT_EQ(Utf16ToUtf8(b.Body), "<rect/>");
  TSvgImage c = Read("<svg viewBox=\"0 0 32\" width=\"7\" height=\"8\"></svg>");
  EXPECT_EQ(c.Width, 7);
  EXPECT_EQ(c.Height, 8);
  TSvgImage d = Read("<!DOCTYPE svg><svg>abc");
  EXPECT_EQ(d.Width, 0);
  EXPECT_EQ(Utf16ToUtf8(d.Body), "abc");
  try {
    Read("<html></html>");
    FAIL();
  } catch (const EMirelonError& e) {
    EXPECT_NE(Utf16ToUtf8(e.Message()).find("svg : \"f.svg\" ne contient pas de balise <svg>"), std::string::npos);
  }
}

TEST_F(CanvasSvgFiles, DrawsFiles) {
  TMirelonValue logo = Write("logo.svg", "\xEF\xBB\xBF<svg viewBox=\"0 0 24 24\"><path d=\"M0 0\"/></svg>");
  Call(M, "svg", {C, N(1), N(2), logo, N(48), N(12)});
  EXPECT_EQ(Last(M, C), "<g transform=\"translate(1,2) scale(2,0.5)\"><path d=\"M0 0\"/></g>");
  TMirelonValue png = Write("logo.png", "x");
  EXPECT_EQ(CallError(M, "svg", {C, N(0), N(0), png, N(10), N(10)}),
            "svg : le fichier doit être un \".svg\" (reçu \".png\")");
  std::string missing = (Dir / "absent.png").string();
  EXPECT_EQ(CallError(M, "svg", {C, N(0), N(0), T(missing.c_str()), N(10), N(10)}),
            "svg : fichier introuvable \"" + missing + "\"");
  EXPECT_EQ(Entries(M, C).size(), 1u);
}

}  // namespace

namespace {

// Many unclosed declarations and comments must not make the clean-up rescan
// the rest of the text from each of them.
TEST_F(CanvasSvgFiles, PathologicalFileEndsQuickly) {
  std::string s;
  for (int i = 0; i < 100000; ++i) s += "<?xml <!-- ";
  s += "<svg width=\"3\"></svg>";
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Read(s).Width, 3);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
