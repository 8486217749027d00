#include "shell/window/LogMemo.h"

#include <QScrollBar>
#include <QTextBlock>

#include "shell/window/WindowLook.h"

namespace mirelon {

TLogMemo::TLogMemo(QWidget* Parent) : QPlainTextEdit(Parent) {
  setObjectName("LogEvent");
  setReadOnly(true);
  setFrameShape(QFrame::NoFrame);
  setContextMenuPolicy(Qt::NoContextMenu);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // A block is one log line however it wraps, so the limit counts lines.
  setMaximumBlockCount(kMaxLines);
  setFont(LogFont());
  // Transparent: the viewport paints nothing of its own, the logo shows through.
  QPalette Colours = palette();
  Colours.setColor(QPalette::Base, Qt::transparent);
  setPalette(Colours);
  setAutoFillBackground(false);
  viewport()->setAutoFillBackground(false);
}

void TLogMemo::AppendLines(const std::vector<std::string>& Lines) {
  if (Lines.empty()) return;
  QStringList Texts;
  Texts.reserve(static_cast<qsizetype>(Lines.size()));
  for (const std::string& Line : Lines) Texts << QString::fromStdString(Line);
  // One append for the whole flush: one layout and one repaint, however many lines.
  appendPlainText(Texts.join('\n'));
  moveCursor(QTextCursor::End);
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

QStringList TLogMemo::Lines() const {
  QStringList Result;
  if (document()->isEmpty()) return Result;
  for (QTextBlock Block = document()->begin(); Block.isValid(); Block = Block.next()) Result << Block.text();
  return Result;
}

}  // namespace mirelon
