#include "server/HttpTypes.h"

#include <algorithm>

#include "core/Text.h"
#include "log/ConsoleLog.h"

namespace mirelon {
namespace {

const std::pair<std::string, std::string>* Find(const THeaderList& List, std::string_view Name) {
  for (const auto& Item : List)
    if (SameAscii(Item.first, Name)) return &Item;
  return nullptr;
}

}  // namespace

bool SameAscii(std::string_view A, std::string_view B) {
  const auto Lower = [](unsigned char C) { return C >= 'A' && C <= 'Z' ? C + 32 : C; };
  return A.size() == B.size() &&
         std::equal(A.begin(), A.end(), B.begin(), [&](char X, char Y) { return Lower(X) == Lower(Y); });
}

std::string TRequest::Header(std::string_view Name) const {
  const auto* Item = Find(Headers, Name);
  return Item ? Item->second : std::string();
}

bool TRequest::HasHeader(std::string_view Name) const { return Find(Headers, Name) != nullptr; }

std::string TRequest::QueryParam(std::string_view Name) const {
  for (const auto& [Key, Value] : Query)
    if (Key == Name) return Value;
  return {};
}

void TReply::SetHeader(std::string_view Name, std::string Value) {
  for (auto& Item : Headers)
    if (SameAscii(Item.first, Name)) {
      Item.second = std::move(Value);
      return;
    }
  Headers.emplace_back(std::string(Name), std::move(Value));
}

void TReply::RemoveHeader(std::string_view Name) {
  std::erase_if(Headers, [&](const auto& Item) { return SameAscii(Item.first, Name); });
}

std::string TReply::FullContentType() const {
  return Charset.empty() ? ContentType : ContentType + "; charset=" + Charset;
}

TReply JsonReply(int Status, std::string JsonText) {
  TReply Reply;
  Reply.Status = Status;
  Reply.ContentType = "application/json";
  Reply.Charset = "utf-8";
  Reply.Body = std::move(JsonText);
  return Reply;
}

TReply TextReply(int Status, std::string Text) {
  TReply Reply = JsonReply(Status, std::move(Text));
  Reply.ContentType = "text/plain";
  return Reply;
}

void LogResponse(TConsoleLog& Log, std::string_view Tag, const TReply& Reply) {
  const size_t TextLength = Reply.BodyIsStream ? 0 : Utf8ToUtf16(Reply.Body).size();
  Log.ELogEvent("$ Réponse : " + std::string(Tag) + " -> " + std::to_string(Reply.Status) +
                "  CT=" + Reply.ContentType + "  TextLen=" + std::to_string(TextLength));
}

}  // namespace mirelon
