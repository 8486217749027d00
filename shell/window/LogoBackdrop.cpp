#include "shell/window/LogoBackdrop.h"

#include <QPainter>
#include <QVBoxLayout>

#include "shell/window/LogMemo.h"

namespace mirelon {

namespace {

// Faint enough that every log line reads clearly over it.
constexpr double kLogoOpacity = 0.16;

}  // namespace

QPixmap TLogoBackdrop::Logo() { return QPixmap(":/fr.mirelon.Mirelon/logo-512.png"); }

TLogoBackdrop::TLogoBackdrop(QWidget* Parent) : QWidget(Parent), FLogo(Logo()) {
  setObjectName("ImLogo");
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
  auto* Fill = new QVBoxLayout(this);
  Fill->setContentsMargins(0, 0, 0, 0);
  FMemo = new TLogMemo(this);
  Fill->addWidget(FMemo);
}

void TLogoBackdrop::paintEvent(QPaintEvent*) {
  if (FLogo.isNull()) return;
  const QSize Size = FLogo.size().scaled(size(), Qt::KeepAspectRatio);
  const QRect Target(QPoint((width() - Size.width()) / 2, (height() - Size.height()) / 2), Size);
  QPainter Painter(this);
  Painter.setRenderHint(QPainter::SmoothPixmapTransform);
  Painter.setOpacity(kLogoOpacity);
  Painter.drawPixmap(Target, FLogo);
}

}  // namespace mirelon
