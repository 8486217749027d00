#include "CanvasTestKit.h"

using namespace canvastest;

namespace {

class CanvasShapes : public ::testing::Test {
 protected:
  TMirelon M{StandardBuiltins()};
  TMirelonValue C = M.NewCanvasValue(100, 100);
};

TEST_F(CanvasShapes, EmptyCanvasDocument) {
  EXPECT_EQ(Utf16ToUtf8(M.BuildCanvasSvg(C)),
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\" viewBox=\"0 0 100 100\"></svg>");
  C.Rec->SetField(u"largeur", N(-5));
  EXPECT_NE(Utf16ToUtf8(M.BuildCanvasSvg(C)).find("width=\"1\" height=\"100\" viewBox=\"0 0 1 100\""),
            std::string::npos);
}

TEST_F(CanvasShapes, CanvasArgumentChecks) {
  EXPECT_EQ(CallError(M, "rectangle", {N(1), N(0), N(0), N(1), N(1)}),
            "rectangle : le 1er argument doit etre une toile");
  IMirelonRecord fake = TMirelonRecord::New();
  fake->SetField(u"__toile_id", T("__toile_99"));
  EXPECT_EQ(CallError(M, "cercle", {TMirelonValue::RecordVal(fake), N(0), N(0), N(1)}), "cercle : toile introuvable");
  EXPECT_EQ(CallError(M, "courbe", {}), "courbe : le 1er argument doit etre une toile");
  EXPECT_EQ(CallError(M, "polygone", {}),
            "polygone(toile, x1, y1, x2, y2, x3, y3, ... [, couleur]) : au moins 3 points (paires x,y)");
  // The point check of "polygone" comes before the canvas check.
  EXPECT_EQ(CallError(M, "polygone", {N(1), N(1), N(2), N(3), N(4), N(5), N(6)}),
            "polygone : le 1er argument doit etre une toile");
}

TEST_F(CanvasShapes, ShapesTruncateAndDefaultToBlack) {
  Call(M, "rectangle", {C, N(10.7), N(-3.2), N(50), N(20)});
  EXPECT_EQ(Last(M, C), "<rect x=\"10\" y=\"-3\" width=\"50\" height=\"20\" fill=\"black\"/>");
  Call(M, "ellipse", {C, N(5), N(6), N(7), N(8), T("#abc")});
  EXPECT_EQ(Last(M, C), "<ellipse cx=\"5\" cy=\"6\" rx=\"7\" ry=\"8\" fill=\"#abc\"/>");
  Call(M, "rectangle_arrondi", {C, N(1), N(2), N(3), N(4), N(5)});
  EXPECT_EQ(Last(M, C), "<rect x=\"1\" y=\"2\" width=\"3\" height=\"4\" rx=\"5\" ry=\"5\" fill=\"black\"/>");
  TMirelonValue r = Call(M, "ligne", {C, N(0), N(0), N(9), N(9), T("#000"), N(0.2)});
  EXPECT_EQ(Last(M, C), "<line x1=\"0\" y1=\"0\" x2=\"9\" y2=\"9\" stroke=\"#000\" stroke-width=\"1\" "
                        "stroke-linecap=\"round\"/>");
  EXPECT_EQ(r.Rec, C.Rec);  // drawing builtins return their canvas
}

TEST_F(CanvasShapes, ColoursAreCheckedFirst) {
  EXPECT_EQ(CallError(M, "cercle", {C, N(50), N(50), N(10), T("red")}),
            "Couleur invalide : \"red\". Utilisez un code hexadécimal #RRGGBB (ex. #FF0000) ou #RGB (ex. #F00).");
  // The colour is reported even when a coordinate is wrong too.
  EXPECT_EQ(CallError(M, "cercle", {C, List({}), N(50), N(10), T("#12")}).substr(0, 16), "Couleur invalide");
  Call(M, "cercle", {C, N(50), N(50), N(10), T(" #ff0000 ")});
  EXPECT_EQ(Last(M, C), "<circle cx=\"50\" cy=\"50\" r=\"10\" fill=\"#ff0000\"/>");
  EXPECT_EQ(Entries(M, C).size(), 1u);  // the failing calls added nothing
}

TEST_F(CanvasShapes, ContourAppliesOnlyToShapes) {
  Call(M, "contour", {C, T("#FF0000"), N(3)});
  Call(M, "rectangle", {C, N(0), N(0), N(5), N(5)});
  EXPECT_EQ(Last(M, C),
            "<rect x=\"0\" y=\"0\" width=\"5\" height=\"5\" fill=\"black\" stroke=\"#FF0000\" stroke-width=\"3\"/>");
  Call(M, "ligne", {C, N(0), N(0), N(1), N(1)});
  EXPECT_EQ(Last(M, C).find("stroke=\"#FF0000\""), std::string::npos);
  Call(M, "arc", {C, N(10), N(10), N(5), N(0), N(90)});
  EXPECT_NE(Last(M, C).find("Z\" fill=\"black\" stroke=\"#FF0000\" stroke-width=\"3\"/>"), std::string::npos);
  Call(M, "effacer", {C});  // keeps the contour
  Call(M, "cercle", {C, N(1), N(1), N(1)});
  EXPECT_NE(Last(M, C).find("stroke-width=\"3\""), std::string::npos);
  Call(M, "contour", {C, N(0)});
  Call(M, "cercle", {C, N(1), N(1), N(1)});
  EXPECT_EQ(Last(M, C), "<circle cx=\"1\" cy=\"1\" r=\"1\" fill=\"black\"/>");
  EXPECT_EQ(CallError(M, "contour", {C, T("#000"), N(101)}), "contour : l'épaisseur doit être comprise entre 1 et 100");
}

TEST_F(CanvasShapes, RemplirGoesBelowEverything) {
  Call(M, "cercle", {C, N(1), N(1), N(1)});
  Call(M, "dimension", {C, N(300.9), N(200)});
  Call(M, "remplir", {C, T("#111")});
  Call(M, "remplir", {C, T("#222")});
  auto e = Entries(M, C);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0], "<rect x=\"0\" y=\"0\" width=\"300\" height=\"200\" fill=\"#222\"/>");
  EXPECT_EQ(e[1], "<rect x=\"0\" y=\"0\" width=\"300\" height=\"200\" fill=\"#111\"/>");
  EXPECT_EQ(CallError(M, "dimension", {C, N(0), N(50)}), "dimension : taille 1 a 1000");
  EXPECT_EQ(CallError(M, "dimension", {C, N(1001), N(50)}), "dimension : taille 1 a 1000");
}

TEST_F(CanvasShapes, PolygonAndCurvePoints) {
  Call(M, "polygone", {C, N(10), N(10), N(90), N(10), N(50), N(80), T("#00FF00")});
  EXPECT_EQ(Last(M, C), "<polygon points=\"10,10 90,10 50,80\" fill=\"#00FF00\"/>");
  Call(M, "polygone", {C, List({N(1), N(2), N(3), N(4), N(5.9), N(6)})});
  EXPECT_EQ(Last(M, C), "<polygon points=\"1,2 3,4 5,6\" fill=\"black\"/>");
  EXPECT_EQ(CallError(M, "polygone", {C, N(1), N(2), N(3), N(4)}),
            "polygone(toile, x1, y1, x2, y2, x3, y3, ... [, couleur]) : au moins 3 points (paires x,y)");
  EXPECT_EQ(CallError(M, "polygone", {C, List({}), T("#000"), N(1)}),
            "polygone(toile, tableau [, couleur]) : avec un tableau, 2 ou 3 arguments");
  Call(M, "courbe", {C, N(0), N(0), N(5), N(5), T("#F00")});
  EXPECT_EQ(Last(M, C), "<polyline points=\"0,0 5,5\" fill=\"none\" stroke=\"#F00\" stroke-width=\"1\"/>");
  EXPECT_EQ(CallError(M, "courbe", {C, List({N(1), N(2), N(3)})}),
            "courbe : le tableau doit contenir au moins 2 points (paires x,y)");
  EXPECT_EQ(CallError(M, "courbe", {C, N(1), N(2)}),
            "courbe(toile, x1, y1, x2, y2, ... [, couleur]) : au moins 2 points (paires x,y)");
}

TEST_F(CanvasShapes, ArcFlags) {
  Call(M, "arc", {C, N(100), N(100), N(80), N(0), N(90)});
  EXPECT_EQ(Last(M, C), "<path d=\"M 100 100 L 180 100 A 80 80 0 0 1 100 180 Z\" fill=\"black\"/>");
  Call(M, "arc", {C, N(100), N(100), N(80), N(0), N(270)});
  EXPECT_NE(Last(M, C).find("A 80 80 0 1 1 100 20 Z"), std::string::npos);
  Call(M, "arc", {C, N(100), N(100), N(80), N(90), N(0)});
  EXPECT_NE(Last(M, C).find("A 80 80 0 0 0 180 100 Z"), std::string::npos);
}

TEST_F(CanvasShapes, LabelsEscapeAndRotate) {
  Call(M, "label", {C, N(10), N(20), T("a<b"), T("#000"), N(14), N(30)});
  EXPECT_EQ(Last(M, C), "<text x=\"10\" y=\"20\" fill=\"#000\" font-family=\"sans-serif\" font-size=\"14\" "
                        "transform=\"rotate(30 10 20)\">a&lt;b</text>");
  Call(M, "label", {C, N(0), N(0), T("<script>\"onload='x'&")});
  EXPECT_NE(Last(M, C).find(">&lt;script&gt;&quot;onload=&#39;x&#39;&amp;</text>"), std::string::npos);
  Call(M, "label", {C, N(1), N(2), T("t"), T("#000"), N(14), N(-22.5)});
  EXPECT_NE(Last(M, C).find("rotate(-22.5 1 2)"), std::string::npos);
  Call(M, "label", {C, N(1), N(2), T("t"), T("#000"), N(14), N(0.000001)});
  EXPECT_NE(Last(M, C).find("rotate(1E-6 1 2)"), std::string::npos);
  EXPECT_EQ(CallError(M, "label", {C, N(0), N(0), T("x"), T("#000"), N(14), N(181)}),
            "label : l'angle doit être compris entre -180 et 180");
  EXPECT_EQ(CallError(M, "label", {C, N(0), N(0), T("x"), T("#000"), N(0)}),
            "label : la taille doit être comprise entre 1 et 100");
}

TEST_F(CanvasShapes, SizesAndColourBuilder) {
  EXPECT_EQ(Call(M, "label_largeur", {T("Bonjour"), N(14)}).Num, 54);
  EXPECT_EQ(Call(M, "label_hauteur", {N(14)}).Num, 17);
  EXPECT_EQ(CallError(M, "label_hauteur", {N(0)}), "label_hauteur : la taille doit être comprise entre 1 et 100");
  EXPECT_EQ(Utf16ToUtf8(Call(M, "rgb", {N(10), N(23), N(56)}).Str.str()), "#0A1738");
  EXPECT_EQ(Utf16ToUtf8(Call(M, "rgb", {N(255), N(0), N(128)}).Str.str()), "#FF0080");
  EXPECT_EQ(CallError(M, "rgb", {N(256), N(0), N(0)}), "rgb : chaque composante doit être comprise entre 0 et 255");
}

TEST_F(CanvasShapes, PixelLimitAndOrder) {
  // The entry limit and the coordinates come before the colour.
  EXPECT_EQ(CallError(M, "pixel", {C, List({}), N(0), T("bad")}), "Conversion en nombre impossible");
  Call(M, "pixel", {C, N(3), N(4), T("#fff")});
  EXPECT_EQ(Last(M, C), "<rect x=\"3\" y=\"4\" width=\"1\" height=\"1\" fill=\"#fff\"/>");
  M.CanvasElements(C, u"test").resize(200000);
  EXPECT_EQ(CallError(M, "pixel", {C, N(0), N(0), T("bad")}), "pixel : trop d'elements sur la toile (max 200000)");
}

// Frames built from a large canvas would need gigabytes: refused before anything is written.
TEST_F(CanvasShapes, AnimationOfHugeFramesIsRefused) {
  M.CanvasElements(C, u"test").assign(200000, u"<rect x=\"100\" y=\"100\" width=\"1\" height=\"1\" fill=\"#000\"/>");
  IMirelonArray frames = TMirelonArray::New();
  for (int i = 0; i < 1000; ++i) frames->Add(C);
  bool written = false;
  M.OnOutput = [&](const std::u16string&) { written = true; };
  EXPECT_EQ(CallError(M, "animation", {TMirelonValue::ArrayVal(frames), N(50)}).substr(0, 15), "Texte trop long");
  EXPECT_FALSE(written);
}

}  // namespace
