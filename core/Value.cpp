#include "core/Value.h"

#include <cmath>

#include "core/Errors.h"
#include "core/Names.h"

namespace mirelon {

// ---- texts ----

const std::u16string& TMirelonText::EmptyText() {
  static const std::u16string empty;
  return empty;
}

static void CheckTextLength(size_t n) {
  if (n > kMaxTextLength)
    throw EMirelonLimit(
        Format(u"Texte trop long : %d caractères (maximum 16 777 216)", {static_cast<long long>(n)}));
}

void TMirelonText::Account(Block& b) {
  size_t now = b.Text.capacity() * sizeof(char16_t) + sizeof(Block);
  if (now > b.Accounted) AccountBytes(static_cast<int64_t>(now - b.Accounted));
  else AccountBytes(-static_cast<int64_t>(b.Accounted - now));
  b.Accounted = now;
}

TMirelonText::Block::~Block() { AccountBytes(-static_cast<int64_t>(Accounted)); }

TMirelonText::TMirelonText(std::u16string s) {
  if (s.empty()) return;
  CheckTextLength(s.size());
  auto* b = new Block;
  b->Text = std::move(s);
  TRef<Block> ref(b);
  Account(*b);
  FBlock = std::move(ref);
}

void TMirelonText::Append(std::u16string_view tail) {
  if (tail.empty()) return;
  CheckTextLength(size() + tail.size());
  if (FBlock.Unique()) {
    FBlock->Text.append(tail);
    Account(*FBlock);
    return;
  }
  std::u16string joined;
  joined.reserve(size() + tail.size());
  joined += str();
  joined += tail;
  *this = TMirelonText(std::move(joined));
}

// ---- values ----

void TMirelonValue::FailNumber(double v) {
  if (std::isinf(v)) throw EMirelonError(u"Dépassement numérique : la valeur dépasse le maximum représentable");
  if (std::isnan(v)) throw EMirelonError(u"Résultat numérique indéfini (NaN)");
  throw EMirelonError(u"Nombre trop grand : au-delà de 9 007 199 254 740 992 (2^53), les nombres ne sont plus exacts");
}

TMirelonValue& TMirelonValue::AssignShared(const TMirelonValue& o) {
  CopyScalar(o);
  Str = o.Str;
  Arr = o.Arr;
  Rec = o.Rec;
  return *this;
}

TMirelonValue& TMirelonValue::MoveShared(TMirelonValue&& o) noexcept {
  CopyScalar(o);
  Str = std::move(o.Str);
  Arr = std::move(o.Arr);
  Rec = std::move(o.Rec);
  return *this;
}

TMirelonValue TMirelonValue::Text(std::u16string v) { return Text(TMirelonText(std::move(v))); }

TMirelonValue TMirelonValue::Text(TMirelonText v) {
  TMirelonValue r;
  r.Kind = lvkText;
  r.Str = std::move(v);
  return r;
}

TMirelonValue TMirelonValue::BoolVal(bool v) {
  TMirelonValue r;
  r.Kind = lvkBool;
  r.Bool = v;
  return r;
}

TMirelonValue TMirelonValue::ArrayVal(IMirelonArray v) {
  TMirelonValue r;
  r.Kind = lvkArray;
  r.Arr = std::move(v);
  return r;
}

TMirelonValue TMirelonValue::RecordVal(IMirelonRecord v) {
  TMirelonValue r;
  r.Kind = lvkRecord;
  r.Rec = std::move(v);
  return r;
}

TMirelonValue TMirelonValue::DateVal(double serial) {
  TMirelonValue r;
  r.Kind = lvkDate;
  r.DT = std::trunc(serial);
  return r;
}

TMirelonValue TMirelonValue::HeureVal(double serial) {
  TMirelonValue r;
  r.Kind = lvkHeure;
  r.DT = serial - std::trunc(serial);
  return r;
}

TMirelonValue TMirelonValue::ImageVal(IMirelonRecord v) {
  TMirelonValue r;
  r.Kind = lvkImage;
  r.Rec = std::move(v);
  return r;
}

// ---- arrays ----

IMirelonArray TMirelonArray::New() { return IMirelonArray(new TMirelonArray); }

void TMirelonArray::Reaccount() {
  size_t now = FItems.capacity() * sizeof(TMirelonValue);
  if (now > FAccounted) AccountBytes(static_cast<int64_t>(now - FAccounted));
  else AccountBytes(-static_cast<int64_t>(FAccounted - now));
  FAccounted = now;
}

TMirelonValue TMirelonArray::GetItem(int32_t index) const {
  if (index < 0 || index >= Count()) throw EHostError(u"Index de liste hors limites (" + IntToText(index) + u")");
  return FItems[index];
}

void TMirelonArray::SetItem(int32_t index, TMirelonValue v) {
  if (index < 0 || index >= Count()) throw EHostError(u"Index de liste hors limites (" + IntToText(index) + u")");
  FItems[index] = std::move(v);
}

void TMirelonArray::CheckCount(size_t n) {
  if (n > static_cast<size_t>(kMaxArrayCount))
    throw EMirelonLimit(u"Tableau trop grand : plus de 4 000 000 éléments");
}

void TMirelonArray::Add(TMirelonValue v) {
  CheckCount(FItems.size() + 1);
  if (FItems.size() == FItems.capacity()) {
    size_t grown = FItems.empty() ? 4 : FItems.size() * 2;
    AccountBytes(static_cast<int64_t>((grown - FItems.capacity()) * sizeof(TMirelonValue)));
    FAccounted += (grown - FItems.capacity()) * sizeof(TMirelonValue);
    FItems.reserve(grown);
  }
  FItems.push_back(std::move(v));
}

void TMirelonArray::Resize(int32_t n, const TMirelonValue& filler) {
  CheckCount(static_cast<size_t>(n));
  if (static_cast<size_t>(n) > FItems.capacity()) {
    AccountBytes(static_cast<int64_t>((n - FItems.capacity()) * sizeof(TMirelonValue)));
    FAccounted += (n - FItems.capacity()) * sizeof(TMirelonValue);
    FItems.reserve(n);
  }
  FItems.resize(n, filler);
}

void TMirelonArray::Delete(int32_t index) { FItems.erase(FItems.begin() + index); }

void TMirelonArray::Clear() { FItems.clear(); }

void TMirelonArray::DropContents() {
  std::vector<TMirelonValue> old;
  old.swap(FItems);
  Reaccount();
}

TMirelonArray::~TMirelonArray() { AccountBytes(-static_cast<int64_t>(FAccounted)); }

// ---- records ----

IMirelonRecord TMirelonRecord::New() { return IMirelonRecord(new TMirelonRecord); }

// Records hold few fields: a scan is faster than a table. Programs nearly
// always write a field as it was first named, so that is tried first; an
// ASCII name is then compared without building its folded form.
int32_t TMirelonRecord::IndexOf(std::u16string_view name) const {
  for (size_t i = 0; i < FFields.size(); ++i)
    if (FFields[i].Name == name) return static_cast<int32_t>(i);
  bool ascii = true;
  for (char16_t c : name) ascii = ascii && c < 0x80;
  if (ascii) {
    for (size_t i = 0; i < FFields.size(); ++i)
      if (SameAsciiCase(FFields[i].Key, name)) return static_cast<int32_t>(i);
    return -1;
  }
  std::u16string key = FoldName(name);
  for (size_t i = 0; i < FFields.size(); ++i)
    if (FFields[i].Key == key) return static_cast<int32_t>(i);
  return -1;
}

std::vector<std::u16string> TMirelonRecord::FieldNames() const {
  std::vector<std::u16string> r;
  r.reserve(FFields.size());
  for (auto& f : FFields) r.push_back(f.Name);
  return r;
}

bool TMirelonRecord::DeleteField(std::u16string_view name) {
  int32_t i = IndexOf(name);
  if (i < 0) return false;
  FFields.erase(FFields.begin() + i);
  return true;
}

bool TMirelonRecord::HasField(std::u16string_view name) const { return IndexOf(name) >= 0; }

const TMirelonValue* TMirelonRecord::FindField(std::u16string_view name) const {
  int32_t i = IndexOf(name);
  return i < 0 ? nullptr : &FFields[i].Value;
}

TMirelonValue* TMirelonRecord::FindField(std::u16string_view name) {
  int32_t i = IndexOf(name);
  return i < 0 ? nullptr : &FFields[i].Value;
}

TMirelonValue* TMirelonRecord::FindFieldAndHint(std::u16string_view name, int32_t& hint) {
  int32_t i = IndexOf(name);
  if (i < 0) return nullptr;
  hint = i;
  return &FFields[i].Value;
}

TMirelonValue TMirelonRecord::GetField(std::u16string_view name) const {
  if (const TMirelonValue* v = FindField(name)) return *v;
  throw EMirelonError::CreateFmt(u"Champ inconnu : \"%s\"", {name});
}

void TMirelonRecord::SetField(std::u16string_view name, TMirelonValue v) {
  if (TMirelonValue* slot = FindField(name)) {
    *slot = std::move(v);
    return;
  }
  FFields.push_back(Field{std::u16string(name), FoldName(name), std::move(v)});
}

void TMirelonRecord::DropContents() {
  std::vector<Field> old;
  old.swap(FFields);
}

TMirelonRecord::~TMirelonRecord() = default;

}  // namespace mirelon
