// The value of the language: a small tagged record copied freely. Texts,
// arrays and records are reference-counted and shared by every value that
// holds them; copying a value copies references, never contents.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Memory.h"

namespace mirelon {

enum TMirelonValueKind : uint8_t { lvkNumber, lvkText, lvkBool, lvkArray, lvkRecord, lvkDate, lvkHeure, lvkImage };

class TMirelonArray;
class TMirelonRecord;
using IMirelonArray = TRef<TMirelonArray>;
using IMirelonRecord = TRef<TMirelonRecord>;

// A shared UTF-16 text. Reads give the std::u16string; Append changes the
// text in place when no other value shares it.
class TMirelonText {
 public:
  TMirelonText() = default;
  TMirelonText(std::u16string s);  // raises the text-size error past the limit
  const std::u16string& str() const { return FBlock ? FBlock->Text : EmptyText(); }
  operator const std::u16string&() const { return str(); }
  size_t size() const { return str().size(); }
  bool empty() const { return str().empty(); }
  char16_t operator[](size_t i) const { return str()[i]; }
  void Append(std::u16string_view tail);
  void Clear() { FBlock.Reset(); }
  bool operator==(const TMirelonText& o) const { return str() == o.str(); }

 private:
  struct Block : TCounted {
    std::u16string Text;
    size_t Accounted = 0;
    ~Block();
  };
  static const std::u16string& EmptyText();
  static void Account(Block& b);
  TRef<Block> FBlock;
};

// Numbers are exact integers up to 2^53; results beyond it (and infinities
// and undefined results) are refused.
inline bool NumberInRange(double v) { return v >= -9007199254740992.0 && v <= 9007199254740992.0; }

struct TMirelonValue {
  TMirelonValueKind Kind = lvkNumber;
  bool Bool = false;
  double Num = 0;
  TMirelonText Str;
  IMirelonArray Arr;
  IMirelonRecord Rec;
  double DT = 0;

  TMirelonValue() = default;
  TMirelonValue(const TMirelonValue&) = default;
  TMirelonValue(TMirelonValue&&) = default;
  // Numbers, booleans, dates and times hold no shared object: between two of
  // them an assignment copies four fields and touches no reference count.
  TMirelonValue& operator=(const TMirelonValue& o) {
    if (!IsScalar() || !o.IsScalar()) return AssignShared(o);
    CopyScalar(o);
    return *this;
  }
  TMirelonValue& operator=(TMirelonValue&& o) noexcept {
    if (!IsScalar() || !o.IsScalar()) return MoveShared(std::move(o));
    CopyScalar(o);
    return *this;
  }
  bool IsScalar() const { return (1u << Kind) & ((1u << lvkNumber) | (1u << lvkBool) | (1u << lvkDate) | (1u << lvkHeure)); }

  // Range-checked: infinite, undefined and beyond 2^53 are refused.
  static TMirelonValue Number(double v) {
    if (!NumberInRange(v)) FailNumber(v);
    TMirelonValue r;
    r.Num = v;
    return r;
  }
  [[noreturn]] static void FailNumber(double v);
  // Makes this value the number v (range-checked) or the boolean b, without
  // building a temporary when it already is one.
  void SetNumber(double v) {
    if (!NumberInRange(v)) FailNumber(v);
    if (Kind != lvkNumber) MakeScalar(lvkNumber);
    Num = v;
  }
  void SetBool(bool b) {
    if (Kind != lvkBool) MakeScalar(lvkBool);
    Bool = b;
  }
  // Drops what the value held and leaves a zero of kind k.
  void MakeScalar(TMirelonValueKind k) {
    if (!IsScalar()) {
      Str.Clear();
      Arr.Reset();
      Rec.Reset();
    }
    Kind = k;
    Bool = false;
    Num = DT = 0;
  }

 private:
  void CopyScalar(const TMirelonValue& o) {
    Kind = o.Kind;
    Bool = o.Bool;
    Num = o.Num;
    DT = o.DT;
  }
  TMirelonValue& AssignShared(const TMirelonValue& o);
  TMirelonValue& MoveShared(TMirelonValue&& o) noexcept;

 public:
  static TMirelonValue Text(std::u16string v);
  static TMirelonValue Text(TMirelonText v);
  static TMirelonValue BoolVal(bool v);
  static TMirelonValue ArrayVal(IMirelonArray v);
  static TMirelonValue RecordVal(IMirelonRecord v);
  static TMirelonValue DateVal(double serial);
  static TMirelonValue HeureVal(double serial);
  static TMirelonValue ImageVal(IMirelonRecord v);

  bool IsText() const { return Kind == lvkText; }
  bool IsNumber() const { return Kind == lvkNumber; }
};

using TValueToText = std::u16string (*)(void* ctx, const TMirelonValue& v);

// A 0-based growable list of values.
class TMirelonArray : public TCollection {
 public:
  static IMirelonArray New();
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  TMirelonValue GetItem(int32_t index) const;  // EHostError outside 0..Count-1
  const TMirelonValue& Item(int32_t index) const { return FItems[index]; }  // unchecked
  TMirelonValue& ItemRef(int32_t index) { return FItems[index]; }        // unchecked
  void SetItem(int32_t index, TMirelonValue v);
  void Add(TMirelonValue v);  // raises the array-size error past the limit
  static void CheckCount(size_t n);  // the array-size error when n is past the limit
  void Delete(int32_t index);
  void Clear();
  void Resize(int32_t n, const TMirelonValue& filler);
  void Swap(int32_t i, int32_t j) { std::swap(FItems[i], FItems[j]); }
  std::vector<TMirelonValue>& Items() { return FItems; }
  const std::vector<TMirelonValue>& Items() const { return FItems; }
  template <class F>
  std::u16string DebugString(F&& toText) const;

  void DropContents() override;
  ~TMirelonArray() override;

 private:
  void Reaccount();
  std::vector<TMirelonValue> FItems;
  size_t FAccounted = 0;
};

// Named fields, names compared with NameComparer, kept in insertion order.
class TMirelonRecord : public TCollection {
 public:
  static IMirelonRecord New();
  std::vector<std::u16string> FieldNames() const;
  bool DeleteField(std::u16string_view name);
  bool HasField(std::u16string_view name) const;
  TMirelonValue GetField(std::u16string_view name) const;  // "Champ inconnu" (no line) when absent
  const TMirelonValue* FindField(std::u16string_view name) const;
  TMirelonValue* FindField(std::u16string_view name);
  // The same, trying first the position `hint` where the name was found
  // last; a hit elsewhere updates it.
  TMirelonValue* FindField(std::u16string_view name, int32_t& hint) {
    // Field names are unique, so an exact match at the hint is the field.
    if (hint >= 0 && hint < FieldCount() && FFields[hint].Name == name) return &FFields[hint].Value;
    return FindFieldAndHint(name, hint);
  }
  void SetField(std::u16string_view name, TMirelonValue v);
  int32_t FieldCount() const { return static_cast<int32_t>(FFields.size()); }
  template <class F>
  std::u16string DebugString(F&& toText) const;

  void DropContents() override;
  ~TMirelonRecord() override;

 private:
  struct Field {
    std::u16string Name;  // as first written
    std::u16string Key;   // folded
    TMirelonValue Value;
  };
  int32_t IndexOf(std::u16string_view name) const;
  TMirelonValue* FindFieldAndHint(std::u16string_view name, int32_t& hint);
  std::vector<Field> FFields;
};

// Text forms of collections: elements listed until the text passes 400
// characters, then " ..." closes the list.
template <class F>
std::u16string TMirelonArray::DebugString(F&& toText) const {
  std::u16string r = u"[";
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (i > 0) r += u", ";
    r += toText(FItems[i]);
    if (r.size() > 400) {
      r += u" ...";
      break;
    }
  }
  r += u"]";
  return r;
}

template <class F>
std::u16string TMirelonRecord::DebugString(F&& toText) const {
  std::u16string r = u"{";
  for (size_t i = 0; i < FFields.size(); ++i) {
    if (i > 0) r += u", ";
    r += FFields[i].Name;
    r += u": ";
    r += toText(FFields[i].Value);
    if (r.size() > 400) {
      r += u" ...";
      break;
    }
  }
  r += u"}";
  return r;
}

}  // namespace mirelon
