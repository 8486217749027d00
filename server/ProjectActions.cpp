// The five projects actions. Each reads the file afresh, checks the request's
// members in a fixed order (the first refusal is the answer; refusals are
// not logged), changes the programs, rewrites the file and logs one line.
#include <string>

#include "core/Text.h"
#include "log/ConsoleLog.h"
#include "log/LogText.h"
#include "server/ProgramStorage.h"
#include "server/ProjectAnswers.h"
#include "server/StorageFile.h"

namespace mirelon {

namespace {

constexpr const char16_t* kMissingId = u"Champ \"id\" manquant";
constexpr const char16_t* kMissingTitle = u"Champ \"titre\" manquant";
constexpr const char16_t* kEmptyTitle = u"Le titre ne peut pas être vide.";
constexpr const char16_t* kNotFound = u"Programme introuvable";
constexpr const char16_t* kTitleTaken = u"Un élément porte déjà ce titre.";

// "#3 « titre »" in a log line.
std::string Described(int64_t Id, std::string_view Title) {
  return "#" + std::to_string(Id) + " « " + LogText(Title) + " »";
}

// The members "id", "titre" and "categorie" of an answer.
void WriteHeading(TJsonWriter& Writer, int64_t Id, std::string_view Title, std::string_view Category) {
  Writer.Key(u"id").Integer(Id).Key(u"titre").String(Utf8ToUtf16(Title));
  Writer.Key(u"categorie").String(Utf8ToUtf16(Category));
}

std::string TitleOf(const TJson& Entry) { return TextMember(Entry, "titre").value_or(""); }

// Replaces a member, which then comes last in the entry.
void MoveToEnd(TJson& Entry, const char* Name, std::string Value) {
  Entry.erase(Name);
  Entry[Name] = std::move(Value);
}

}  // namespace

TReply TProgramStorage::ListPrograms() {
  TStoredPrograms Stored = LoadPrograms();
  TJsonWriter Writer = SuccessWriter();
  Writer.Key(u"programmes").BeginArray();
  for (const TJson& Entry : Stored.Programs) {
    Writer.BeginObject();
    WriteHeading(Writer, IdMember(Entry).value_or(0), TitleOf(Entry), EntryCategory(Entry));
    Writer.EndObject();
  }
  Writer.EndArray();
  FLog.ELogEvent("$ API projets/list : " + std::to_string(Stored.Programs.size()) + " programme(s)");
  return SuccessReply(Writer);
}

TReply TProgramStorage::LoadProgram(const TJson& Body) {
  std::optional<int64_t> Id = IdMember(Body);
  if (!Id) return ProjectError(400, kMissingId);
  TStoredPrograms Stored = LoadPrograms();
  int64_t At = IndexOfProgram(Stored.Programs, *Id);
  if (At < 0) return ProjectError(404, kNotFound);
  const TJson& Entry = Stored.Programs[At];
  std::string Title = TitleOf(Entry);
  TJsonWriter Writer = SuccessWriter();
  WriteHeading(Writer, *Id, Title, EntryCategory(Entry));
  Writer.Key(u"code").String(Utf8ToUtf16(TextMember(Entry, "code").value_or("")));
  FLog.ELogEvent("$ API projets/load : " + Described(*Id, Title));
  return SuccessReply(Writer);
}

TReply TProgramStorage::DeleteProgram(const TJson& Body) {
  std::optional<int64_t> Id = IdMember(Body);
  if (!Id) return ProjectError(400, kMissingId);
  TStoredPrograms Stored = LoadPrograms();
  int64_t At = IndexOfProgram(Stored.Programs, *Id);
  if (At < 0) return ProjectError(404, kNotFound);
  Stored.Programs.erase(static_cast<size_t>(At));
  SavePrograms(Stored);
  TJsonWriter Writer = SuccessWriter();
  FLog.ELogEvent("$ API projets/del : #" + std::to_string(*Id) + " supprimé");
  return SuccessReply(Writer);
}

TReply TProgramStorage::RenameProgram(const TJson& Body) {
  std::optional<int64_t> Id = IdMember(Body);
  if (!Id) return ProjectError(400, kMissingId);
  std::optional<std::string> Requested = TextMember(Body, "titre");
  if (!Requested) return ProjectError(400, kMissingTitle);
  std::string Title(TrimmedText(*Requested));
  if (Title.empty()) return ProjectError(400, kEmptyTitle);
  TStoredPrograms Stored = LoadPrograms();
  int64_t At = IndexOfProgram(Stored.Programs, *Id);
  if (At < 0) return ProjectError(404, kNotFound);
  TJson& Entry = Stored.Programs[At];
  if (TitleTaken(Stored.Programs, Title, EntryCategory(Entry), *Id)) return ProjectError(409, kTitleTaken);
  MoveToEnd(Entry, "titre", Title);
  SavePrograms(Stored);
  TJsonWriter Writer = SuccessWriter();
  Writer.Key(u"id").Integer(*Id).Key(u"titre").String(Utf8ToUtf16(Title));
  FLog.ELogEvent("$ API projets/rem : #" + std::to_string(*Id) + " → « " + LogText(Title) + " »");
  return SuccessReply(Writer);
}

// With an id of 1 or more, the code of that entry changes; otherwise a new
// entry is made.
TReply TProgramStorage::SaveProgram(const TJson& Body) {
  std::optional<std::string> Code = TextMember(Body, "code");
  if (!Code) return ProjectError(400, u"Champ \"code\" manquant");
  int64_t Id = IdMember(Body).value_or(0);
  TStoredPrograms Stored = LoadPrograms();
  return Id >= 1 ? UpdateProgram(Stored, Id, std::move(*Code)) : CreateProgram(Stored, Body, std::move(*Code));
}

// The request's "titre" and "categorie" are ignored: a rename is its own action.
TReply TProgramStorage::UpdateProgram(TStoredPrograms& Stored, int64_t Id, std::string Code) {
  int64_t At = IndexOfProgram(Stored.Programs, Id);
  if (At < 0) return ProjectError(404, kNotFound);
  TJson& Entry = Stored.Programs[At];
  MoveToEnd(Entry, "code", std::move(Code));
  SavePrograms(Stored);
  std::string Title = TitleOf(Entry), Category = EntryCategory(Entry);
  TJsonWriter Writer = SuccessWriter();
  WriteHeading(Writer, Id, Title, Category);
  FLog.ELogEvent("$ API projets/save : " + Described(Id, Title) + " [" + LogText(Category) + "]");
  return SuccessReply(Writer);
}

TReply TProgramStorage::CreateProgram(TStoredPrograms& Stored, const TJson& Body, std::string Code) {
  std::optional<std::string> Requested = TextMember(Body, "titre");
  if (!Requested) return ProjectError(400, kMissingTitle);
  std::string Title(TrimmedText(*Requested));
  if (Title.empty()) return ProjectError(400, kEmptyTitle);
  std::string Category(TrimmedText(TextMember(Body, "categorie").value_or("")));
  if (Category.empty()) Category = "programme";
  if (TitleTaken(Stored.Programs, Title, Category, 0)) return ProjectError(409, kTitleTaken);
  int64_t Id = NextProgramId(Stored.Programs);
  TJson Entry = TJson::object();
  Entry["id"] = Id;
  Entry["titre"] = Title;
  Entry["categorie"] = Category;
  Entry["code"] = std::move(Code);
  Stored.Programs.push_back(std::move(Entry));
  SavePrograms(Stored);
  TJsonWriter Writer = SuccessWriter();
  WriteHeading(Writer, Id, Title, Category);
  FLog.ELogEvent("$ API projets/save : " + Described(Id, Title) + " [" + LogText(Category) + "]");
  return SuccessReply(Writer);
}

}  // namespace mirelon
