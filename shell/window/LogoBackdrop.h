// The middle of the window: the logo, scaled proportionally and centred,
// painted faintly behind the log that covers the whole area.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace mirelon {

class TLogMemo;

class TLogoBackdrop : public QWidget {
 public:
  explicit TLogoBackdrop(QWidget* Parent);
  TLogMemo* Memo() const { return FMemo; }

  // The logo picture, rasterised from its SVG at build time.
  static QPixmap Logo();

 protected:
  void paintEvent(QPaintEvent* Event) override;

 private:
  QPixmap FLogo;
  TLogMemo* FMemo;
};

}  // namespace mirelon
