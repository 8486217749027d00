#include "server/StorageFile.h"

#include <system_error>

#include "core/Errors.h"
#include "json/JsonWriter.h"
#include "server/AtomicFile.h"
#include "server/JsonBody.h"
#include "server/WholeFile.h"

namespace mirelon {

namespace {

namespace fs = std::filesystem;

// Copies tried before giving up: far more than any folder holds by accident.
constexpr int kMaxCopies = 1000;

std::string HostMessage(int Error) { return std::generic_category().message(Error); }

// The programs of a file's text, or none when the text is not a storage object
// or nests too deep to be written back.
std::optional<TJson> ProgramsOf(std::string_view Text) {
  if (NestsTooDeep(Text)) return std::nullopt;
  TJson Root = TJson::parse(Text, nullptr, false);
  if (!Root.is_object()) return std::nullopt;  // a text that is not JSON is "discarded", not an object
  auto It = Root.find("programmes");
  if (It == Root.end() || !It->is_array()) return std::nullopt;
  return std::move(*It);
}

fs::path CopyName(const fs::path& File, int Number) {
  std::string Suffix = Number == 1 ? ".illisible" : ".illisible." + std::to_string(Number);
  return fs::path(File).concat(Suffix);
}

[[noreturn]] void FailCopy(std::string_view Reason) {
  throw Exception(Format(u"Mirelon.json illisible : impossible d'en conserver une copie (%s) ; rien n'a été modifié.",
                         {Utf8ToUtf16(Reason)}));
}

}  // namespace

TStoredPrograms ReadStorageFile(const fs::path& File) {
  TStoredPrograms Stored;
  std::string Bytes;
  int Error = ReadWholeFile(File, Bytes);
  if (Error == ENOENT) return Stored;
  if (Error != 0) {
    Stored.Unusable = true;
    Stored.ReadError = "impossible de lire \"" + File.string() + "\" : " + HostMessage(Error);
    return Stored;
  }
  std::string_view Text = StripBom(Bytes);
  if (TrimmedText(Text).empty()) return Stored;
  if (std::optional<TJson> Programs = ProgramsOf(Text)) {
    Stored.Programs = std::move(*Programs);
  } else {
    Stored.Unusable = true;
    Stored.Bytes = std::move(Bytes);
  }
  return Stored;
}

std::string StorageBytes(const TJson& Programs) {
  return "\xEF\xBB\xBF" + TJsonWriter().BeginObject().Key(u"programmes").Value(Programs).EndObject().Text();
}

fs::path KeepUnusableCopy(const fs::path& File, const std::optional<std::string>& Bytes) {
  if (!Bytes) FailCopy("le fichier ne peut pas être lu");
  try {
    for (int Number = 1; Number <= kMaxCopies; ++Number) {
      fs::path Copy = CopyName(File, Number);
      if (WriteNewFile(Copy, *Bytes)) return Copy;
      std::string Existing;
      if (ReadWholeFile(Copy, Existing) == 0 && Existing == *Bytes) return Copy;
    }
  } catch (const Exception& E) {
    FailCopy(E.what());
  }
  FailCopy("trop de copies existent déjà");
}

}  // namespace mirelon
