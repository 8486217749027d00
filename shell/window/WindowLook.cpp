#include "shell/window/WindowLook.h"

namespace mirelon {

namespace {

QFont PixelFont(const char* Family, QFont::StyleHint Hint) {
  QFont Font(Family);
  Font.setStyleHint(Hint);
  Font.setPixelSize(12);  // 9 points at 96 dots per inch
  return Font;
}

}  // namespace

QFont InterfaceFont() { return PixelFont("Liberation Sans", QFont::SansSerif); }
QFont LogFont() { return PixelFont("DejaVu Sans Mono", QFont::Monospace); }

}  // namespace mirelon
