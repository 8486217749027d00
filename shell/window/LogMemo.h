// The console log as the window shows it: a read-only, borderless text on a
// transparent background (the logo behind it shows through), keeping the
// last 500 lines, without a context menu.
#pragma once

#include <QPlainTextEdit>
#include <QStringList>
#include <string>
#include <vector>

namespace mirelon {

class TLogMemo : public QPlainTextEdit {
 public:
  static constexpr int kMaxLines = 500;

  explicit TLogMemo(QWidget* Parent);

  // Appends the lines in order, drops the oldest beyond kMaxLines and shows
  // the end of the log.
  void AppendLines(const std::vector<std::string>& Lines);
  QStringList Lines() const;
};

}  // namespace mirelon
