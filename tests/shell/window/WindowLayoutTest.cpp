// The window's fixed layout: what a pupil sees before pressing anything.
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>

#include "WindowFixture.h"
#include "shell/window/StatusPanels.h"

namespace mirelon::test {
namespace {

using WindowLayout = WindowTest;

TEST_F(WindowLayout, FixedSizeCaptionAndTitleBarButtons) {
  Open();
  EXPECT_EQ(Window->size(), QSize(678, 444));
  EXPECT_EQ(Window->minimumSize(), Window->maximumSize());
  EXPECT_EQ(Window->windowTitle(), QString::fromUtf8("Mirelon - Le code, en toute simplicité"));
  const Qt::WindowFlags Flags = Window->windowFlags();
  EXPECT_TRUE(Flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(Flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(Flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(Window->windowIcon().isNull());
}

TEST_F(WindowLayout, StatusBarOnTopWithSevenPanels) {
  Open();
  const QWidget* Bar = Window->findChild<QWidget*>("StatusBar");
  ASSERT_NE(Bar, nullptr);
  EXPECT_EQ(Bar->geometry(), QRect(0, 0, 678, 20));
  const char* Texts[7] = {"Requêtes : ", "0", "Exécutions : ", "0", "Erreurs : ", "0", ""};
  int Left = 0;
  for (int I = 0; I < 7; ++I) {
    const QLabel* Panel = Window->StatusBar()->Panel(I);
    EXPECT_EQ(Panel->text(), QString::fromUtf8(Texts[I])) << I;
    EXPECT_EQ(Panel->width(), I == 6 ? 50 : 100) << I;
    EXPECT_EQ(Panel->x(), Left) << I;
    Left += Panel->width();
  }
  EXPECT_TRUE(Window->StatusBar()->Panel(0)->alignment().testFlag(Qt::AlignRight));
  EXPECT_TRUE(Window->StatusBar()->Panel(1)->alignment().testFlag(Qt::AlignHCenter));
}

TEST_F(WindowLayout, LogCoversTheLogoBetweenStatusBarAndButtons) {
  Open();
  const QWidget* Logo = Window->findChild<QWidget*>("ImLogo");
  const QWidget* Panel = Window->findChild<QWidget*>("PanelBtn");
  ASSERT_NE(Logo, nullptr);
  ASSERT_NE(Panel, nullptr);
  EXPECT_EQ(Logo->geometry(), QRect(0, 20, 678, 444 - 20 - 41));
  EXPECT_EQ(Panel->geometry(), QRect(0, 444 - 41, 678, 41));
  const TLogMemo* Memo = Window->Memo();
  EXPECT_EQ(Memo->geometry(), QRect(QPoint(0, 0), Logo->size()));
  EXPECT_TRUE(Memo->isReadOnly());
  EXPECT_EQ(Memo->frameShape(), QFrame::NoFrame);
  EXPECT_EQ(Memo->contextMenuPolicy(), Qt::NoContextMenu);
  EXPECT_EQ(Memo->palette().color(QPalette::Base).alpha(), 0);
}

// The captions must fit their fixed widths in the window's font, which
// must be the one the package recommends.
TEST_F(WindowLayout, SixButtonsWithTheirCaptionsAndWidths) {
  Open();
  struct TExpected {
    const char* Name;
    const char* Caption;
    int Width;
  };
  const TExpected Left[] = {{"ActServer", "Démarrer le serveur", 127},
                            {"ActOpenWeb", "Go ! Mirelon", 93},
                            {"ActOpenWebHelp", "Go ! Aide", 70}};
  const TExpected Right[] = {{"ActClearCsl", "Effacer la console", 118}, {"ActClose", "Quitter", 66}, {"ActAbout", "?", 33}};
  EXPECT_EQ(QFontInfo(Window->font()).family(), "Liberation Sans");
  const QFontMetrics Metrics(Window->font());
  int PreviousRight = 0;
  for (const auto* Group : {Left, Right}) {
    for (int I = 0; I < 3; ++I) {
      const QPushButton* Button = this->Button(Group[I].Name);
      ASSERT_NE(Button, nullptr) << Group[I].Name;
      EXPECT_EQ(Button->text(), QString::fromUtf8(Group[I].Caption));
      EXPECT_EQ(Button->size(), QSize(Group[I].Width, 33)) << Group[I].Name;
      EXPECT_LE(Metrics.horizontalAdvance(Button->text()) + 12, Group[I].Width) << Group[I].Name;
      EXPECT_GT(Button->x(), PreviousRight) << Group[I].Name;
      PreviousRight = Button->x() + Button->width();
    }
  }
  EXPECT_LT(Button("ActOpenWebHelp")->x() + 70, 339);
  EXPECT_GT(Button("ActClearCsl")->x(), 339);
  EXPECT_GE(PreviousRight, 670);
  EXPECT_LE(PreviousRight, 678);
  // "Arrêter le serveur" replaces the first caption while the server runs.
  EXPECT_LE(Metrics.horizontalAdvance(QString::fromUtf8("Arrêter le serveur")) + 12, 127);
}

}  // namespace
}  // namespace mirelon::test
