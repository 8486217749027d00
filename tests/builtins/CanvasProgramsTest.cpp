// Canvases seen from programs: declarations, "affiche", snapshots through
// "ajoute", animations, and the reference drawings of tests/drawings.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CanvasTestKit.h"

using namespace canvastest;

namespace {

TEST(CanvasPrograms, ShowWritesOneSvgEntry) {
  TRun r = RunProgram("MaToile est une toile\naffiche MaToile\n");
  ASSERT_EQ(r.Error, "");
  ASSERT_EQ(r.Lines.size(), 1u);
  EXPECT_EQ(r.Lines[0], "__SVG__<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\" "
                        "viewBox=\"0 0 100 100\"></svg>__");
}

TEST(CanvasPrograms, SharedCanvasAndSnapshots) {
  TRun r = RunProgram(
      "dessin est une toile\ncopie vaut dessin\nimages est un tableau\n"
      "cercle(copie, 5, 5, 2)\nimages ajoute dessin\n"
      "rectangle(dessin, 0, 0, 1, 1)\nimages ajoute dessin\n"
      "affiche images[0]\n"
      "affiche animation(images, 5, 50)\n");
  ASSERT_EQ(r.Error, "");
  ASSERT_EQ(r.Lines.size(), 3u);
  const std::string head = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\" viewBox=\"0 0 100 100\">";
  const std::string one = head + "<circle cx=\"5\" cy=\"5\" r=\"2\" fill=\"black\"/></svg>";
  const std::string two = head + "<circle cx=\"5\" cy=\"5\" r=\"2\" fill=\"black\"/>"
                                 "<rect x=\"0\" y=\"0\" width=\"1\" height=\"1\" fill=\"black\"/></svg>";
  EXPECT_EQ(r.Lines[0], "__SVG__" + one + "__");  // the snapshot kept the canvas as it was
  EXPECT_EQ(r.Lines[1], "__ANIM__10__20__" + one + "||FRAME||" + two + "__");
  EXPECT_EQ(r.Lines[2], "2");
}

TEST(CanvasPrograms, AnimationChecksBeforeWriting) {
  TRun r = RunProgram("t est une toile\nf est un tableau\nf ajoute 3\nf ajoute t\nanimation(f, 100000)\n");
  EXPECT_NE(r.Error.find("animation : l'élément 1 n'est pas une toile"), std::string::npos);
  EXPECT_TRUE(r.Lines.empty());
  r = RunProgram("t est une toile\nf est un tableau\nf ajoute t\nanimation(f, 100000, -3)\n");
  ASSERT_EQ(r.Lines.size(), 1u);
  EXPECT_EQ(r.Lines[0].substr(0, 17), "__ANIM__60000__0_");
  r = RunProgram("f est un tableau\nanimation(f, 100)\n");
  EXPECT_NE(r.Error.find("animation : le tableau ne contient aucune image"), std::string::npos);
  r = RunProgram("animation(3, 100)\n");
  EXPECT_NE(r.Error.find("animation : le 1er argument doit être un tableau de toiles"), std::string::npos);
}

TEST(CanvasPrograms, PixelLimitFromAProgram) {
  TRun r = RunProgram(
      "t est une toile\n"
      "pour i de 0 à 399\n  pour j de 0 à 499\n    pixel(t, i, j, '#000')\n  fin pour\nfin pour\n"
      "affiche 'plein'\npixel(t, 0, 0, '#000')\n");
  ASSERT_EQ(r.Lines.size(), 1u);
  EXPECT_EQ(r.Lines[0], "plein");
  EXPECT_EQ(r.Error, "Ligne 8: pixel : trop d'elements sur la toile (max 200000)");
}

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Each reference program draws a picture; its last "__SVG__" entry must be
// the stored document, byte for byte. With MIRELON_UPDATE_DRAWINGS set, the
// documents are written instead (review them with tools/render-drawings).
TEST(CanvasPrograms, ReferenceDrawings) {
  std::filesystem::path dir = std::filesystem::path(MIRELON_SOURCE_DIR) / "tests" / "drawings";
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".mir") continue;
    SCOPED_TRACE(entry.path().filename().string());
    TRun r = RunProgram(ReadFile(entry.path()));
    EXPECT_EQ(r.Error, "");
    std::string svg;
    for (const std::string& line : r.Lines)
      if (line.rfind("__SVG__", 0) == 0) svg = line.substr(7, line.size() - 9);
    std::filesystem::path expected = entry.path();
    expected.replace_extension(".svg");
    if (std::getenv("MIRELON_UPDATE_DRAWINGS")) std::ofstream(expected, std::ios::binary) << svg << "\n";
    std::string want = ReadFile(expected);
    while (!want.empty() && (want.back() == '\n' || want.back() == '\r')) want.pop_back();
    EXPECT_EQ(svg, want);
    ++checked;
  }
  EXPECT_GE(checked, 4);
}

}  // namespace
