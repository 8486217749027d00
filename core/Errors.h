// The exceptions through which every language error travels.
#pragma once

#include <exception>
#include <string>

#include "core/Text.h"

namespace mirelon {

// The base of every exception of the system; carries a message text.
class Exception : public std::exception {
 public:
  explicit Exception(std::u16string message) : FMessage(std::move(message)), FUtf8(Utf16ToUtf8(FMessage)) {}
  const std::u16string& Message() const { return FMessage; }
  const char* what() const noexcept override { return FUtf8.c_str(); }

 private:
  std::u16string FMessage;
  std::string FUtf8;
};

// Every language error; FLine is -1 when no line is known.
class EMirelonError : public Exception {
 public:
  explicit EMirelonError(std::u16string message, int line = -1) : Exception(std::move(message)), FLine(line) {}
  int Line() const { return FLine; }

  static EMirelonError Create(std::u16string_view msg) { return EMirelonError(std::u16string(msg)); }
  static EMirelonError CreateFmt(std::u16string_view msg, std::initializer_list<TFmtArg> args) {
    return EMirelonError(Format(msg, args));
  }
  static EMirelonError CreateAtLine(int line, std::u16string_view msg) {
    return EMirelonError(Format(u"Ligne %d: %s", {line, msg}), line);
  }
  static EMirelonError CreateFmtAtLine(int line, std::u16string_view msg, std::initializer_list<TFmtArg> args) {
    return CreateAtLine(line, Format(msg, args));
  }

 private:
  int FLine;
};

// Errors that "essayer" must not catch (the recursion limit).
class EMirelonFatal : public EMirelonError {
 public:
  using EMirelonError::EMirelonError;
  static EMirelonFatal CreateAtLine(int line, std::u16string_view msg) {
    return EMirelonFatal(Format(u"Ligne %d: %s", {line, msg}), line);
  }
};

// A resource limit of the run (text length, array size, memory); raised
// without line, the statement being executed adds its own.
class EMirelonLimit : public EMirelonError {
 public:
  using EMirelonError::EMirelonError;
};

// Raised by "terminer"; Execute swallows it.
class EMirelonExitProgram : public Exception {
 public:
  EMirelonExitProgram() : Exception(u"exit") {}
};

// A run stopped from outside.
class EMirelonAborted : public Exception {
 public:
  EMirelonAborted() : Exception(u"ABORTED") {}
};

// A failure of the host's arithmetic or argument checks: not a language
// error, so "essayer" lets it through and it carries no line.
class EHostError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace mirelon
