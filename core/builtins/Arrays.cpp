// Builtins on arrays and records. "taille", "mélanger", "trier" and
// "supprime_champ" change the collection they receive; the others build new
// collections whose elements are copied as values (inner collections shared).
#include <algorithm>
#include <cmath>
#include <set>
#include <unordered_set>

#include "core/builtins/ArraySort.h"
#include "core/builtins/Builtins.h"

namespace mirelon {

namespace {

enum TWhere { kAtLine, kNoLine };

[[noreturn]] void Raise(TMirelon& M, TWhere where, std::u16string_view message) {
  if (where == kNoLine) FailNoLine(message);
  M.Fail(message);
}

void CheckCount(TMirelon& M, const TBuiltinArgs& Args, size_t n, TWhere where, std::u16string_view message) {
  if (Args.size() != n) Raise(M, where, message);
}

// The array of an argument that must be an array; null for an unset array.
TMirelonArray* ArrayArg(TMirelon& M, const TMirelonValue& v, TWhere where, std::u16string_view message) {
  if (v.Kind != lvkArray) Raise(M, where, message);
  return v.Arr.get();
}

int32_t CountOf(const TMirelonArray* a) { return a ? a->Count() : 0; }

// The record of an argument that must be a record (always without line).
TMirelonRecord* RecordArg(const TMirelonValue& v, std::u16string_view message) {
  if (v.Kind != lvkRecord) FailNoLine(message);
  return v.Rec.get();
}

TMirelonValue NewArray(IMirelonArray& out) {
  out = TMirelonArray::New();
  return TMirelonValue::ArrayVal(out);
}

void AppendAll(TMirelon& M, TMirelonArray& out, const TMirelonArray* from) {
  for (int32_t i = 0; i < CountOf(from); ++i) {
    M.CheckAbort();
    out.Add(from->Item(i));
  }
}

void Taille(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  CheckCount(M, Args, 2, kAtLine, u"taille(tableau, n) attend exactement 2 arguments");
  TMirelonArray* a =
      ArrayArg(M, Args[0], kAtLine, u"taille(tableau, n) : le premier argument doit être un tableau");
  int64_t n = M.ToInteger(Args[1]);
  if (n < 0) M.Fail(u"taille(tableau, n) : n doit être >= 0");
  // Past the array limit Resize raises the limit error.
  if (a) a->Resize(static_cast<int32_t>(std::min<int64_t>(n, kMaxArrayCount + 1ll)), TMirelonValue::Text(u""));
  Result = TMirelonValue::Number(0);
}

// The element at index 0 (first) or Count - 1 (last) of a non-empty array.
void EndElement(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result, bool last,
                const char16_t* countMessage, std::u16string_view kindMessage, std::u16string_view emptyMessage) {
  CheckCount(M, Args, 1, kAtLine, countMessage);
  TMirelonArray* a = ArrayArg(M, Args[0], kAtLine, kindMessage);
  if (CountOf(a) == 0) M.Fail(emptyMessage);
  Result = a->Item(last ? a->Count() - 1 : 0);
}

void Premier(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  EndElement(M, Args, Result, false, u"premier(tableau) attend 1 argument", u"premier attend un tableau",
             u"premier: tableau vide");
}

void Dernier(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  EndElement(M, Args, Result, true, u"dernier(tableau) attend 1 argument", u"dernier attend un tableau",
             u"dernier: tableau vide");
}

void Melanger(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  CheckCount(M, Args, 1, kAtLine, u"melanger(tableau) attend 1 argument");
  TMirelonArray* a = ArrayArg(M, Args[0], kAtLine, u"melanger attend un tableau");
  for (int32_t i = CountOf(a) - 1; i >= 1; --i) {
    M.CheckAbort();
    a->Swap(i, static_cast<int32_t>(NextRandom(i + 1)));
  }
  Result = Args[0];
}

void ListeTableau(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  CheckCount(M, Args, 1, kNoLine, u"liste_tableau(tableau) attend 1 argument");
  TMirelonArray* a = ArrayArg(M, Args[0], kAtLine, u"liste_tableau attend un tableau");
  if (!a) {
    M.Output(u"[]");
    Result = TMirelonValue::Text(u"");
    return;
  }
  for (int32_t i = 0; i < a->Count(); ++i) {
    M.CheckAbort();
    M.Output(Format(u"[%d] = %s", {i, M.ValToText(a->Item(i))}));
  }
  Result = TMirelonValue::Number(0);
}

void Existe(TMirelon&, TBuiltinArgs& Args, TMirelonValue& Result) {
  if (Args.size() != 2) FailNoLine(u"existe(enregistrement, champ) attend 2 arguments");
  TMirelonRecord* r = RecordArg(Args[0], u"existe: premier argument doit être un enregistrement");
  std::u16string name = ValToText(Args[1]);
  Result = TMirelonValue::BoolVal(r && !name.empty() && r->HasField(name));
}

void Champs(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  if (Args.size() != 1) FailNoLine(u"champs(enregistrement) attend 1 argument");
  TMirelonRecord* r = RecordArg(Args[0], u"champs: argument doit être un enregistrement");
  IMirelonArray out;
  Result = NewArray(out);
  if (!r) return;
  for (auto& name : r->FieldNames()) {
    M.CheckAbort();
    out->Add(TMirelonValue::Text(name));
  }
}

void SupprimeChamp(TMirelon&, TBuiltinArgs& Args, TMirelonValue& Result) {
  if (Args.size() != 2) FailNoLine(u"supprime_champ(enregistrement, champ) attend 2 arguments");
  TMirelonRecord* r = RecordArg(Args[0], u"supprime_champ: premier argument doit être un enregistrement");
  std::u16string name = ValToText(Args[1]);
  Result = TMirelonValue::BoolVal(r && !name.empty() && r->DeleteField(name));
}

void Joindre(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  CheckCount(M, Args, 2, kNoLine, u"joindre(tableau, separateur) attend 2 arguments");
  TMirelonArray* a = ArrayArg(M, Args[0], kNoLine, u"joindre : le premier argument doit être un tableau");
  std::u16string separator = M.ValToText(Args[1]);
  TMirelonText joined;  // Append raises the text-size error as soon as the limit is passed
  for (int32_t i = 0; i < CountOf(a); ++i) {
    M.CheckAbort();
    if (i > 0) joined.Append(separator);
    joined.Append(M.ValToText(a->Item(i)));
  }
  Result = TMirelonValue::Text(std::move(joined));
}

void Trier(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  if (Args.size() != 1 && Args.size() != 2) FailNoLine(u"trier(tableau [, sens]) attend 1 ou 2 arguments");
  TMirelonArray* a = ArrayArg(M, Args[0], kNoLine, u"trier : le premier argument doit être un tableau");
  bool descending = Args.size() == 2 && SameAsciiCase(Trim(M.ValToText(Args[1])), u"desc");
  if (a) SortArray(M, *a, descending);
  Result = Args[0];
}

bool AllOfKind(const std::vector<TMirelonValue>& items, TMirelonValueKind kind) {
  return std::all_of(items.begin(), items.end(), [kind](auto& v) { return v.Kind == kind; });
}

// Keeps the first occurrence of every value. Arrays of numbers only or texts
// only look values up in ordered or hashed sets (numbers are equal within
// 1e-12, texts exactly); other arrays compare each value with those kept.
void Unique(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  CheckCount(M, Args, 1, kAtLine, u"unique(tableau) attend 1 argument");
  TMirelonArray* a = ArrayArg(M, Args[0], kNoLine, u"unique : l'argument doit être un tableau");
  IMirelonArray out;
  Result = NewArray(out);
  if (!a) return;
  auto keepUnseen = [&](auto&& seen) {
    for (const TMirelonValue& v : a->Items()) {
      M.CheckAbort();
      if (!seen(v)) out->Add(v);
    }
  };
  if (AllOfKind(a->Items(), lvkNumber)) {
    std::set<double> kept;
    keepUnseen([&](const TMirelonValue& v) {
      for (auto it = kept.lower_bound(v.Num - 2e-12); it != kept.end() && *it <= v.Num + 2e-12; ++it)
        if (std::fabs(*it - v.Num) <= 1e-12) return true;
      kept.insert(v.Num);
      return false;
    });
  } else if (AllOfKind(a->Items(), lvkText)) {
    std::unordered_set<std::u16string_view> kept;
    keepUnseen([&](const TMirelonValue& v) { return !kept.insert(v.Str.str()).second; });
  } else {
    keepUnseen([&](const TMirelonValue& v) {
      auto same = [&](const TMirelonValue& k) { return ValuesEqual(k, v); };
      return std::any_of(out->Items().begin(), out->Items().end(), same);
    });
  }
}

// The elements as numbers, added in extended precision.
long double SumOf(TMirelon& M, const TMirelonArray* a) {
  long double sum = 0;
  for (int32_t i = 0; i < CountOf(a); ++i) {
    M.CheckAbort();
    sum += M.ToNumber(a->Item(i));
  }
  return sum;
}

void Somme(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  CheckCount(M, Args, 1, kAtLine, u"somme(tableau) attend 1 argument");
  TMirelonArray* a = ArrayArg(M, Args[0], kNoLine, u"somme : l'argument doit être un tableau");
  Result = TMirelonValue::Number(static_cast<double>(SumOf(M, a)));
}

void Moyenne(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  CheckCount(M, Args, 1, kAtLine, u"moyenne(tableau) attend 1 argument");
  TMirelonArray* a = ArrayArg(M, Args[0], kNoLine, u"moyenne : l'argument doit être un tableau");
  if (CountOf(a) == 0) M.Fail(u"moyenne : le tableau est vide");
  Result = TMirelonValue::Number(static_cast<double>(SumOf(M, a) / a->Count()));
}

void EstVide(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  CheckCount(M, Args, 1, kAtLine, u"est_vide(x) attend 1 argument");
  const TMirelonValue& x = Args[0];
  switch (x.Kind) {
    case lvkText: Result = TMirelonValue::BoolVal(x.Str.empty()); break;
    case lvkArray: Result = TMirelonValue::BoolVal(CountOf(x.Arr.get()) == 0); break;
    case lvkRecord: Result = TMirelonValue::BoolVal(!x.Rec || x.Rec->FieldCount() == 0); break;
    default: FailNoLine(u"est_vide : attend un texte, un tableau ou un enregistrement");
  }
}

void Fusionner(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  CheckCount(M, Args, 2, kNoLine, u"fusionner(tableau1, tableau2) attend 2 arguments");
  TMirelonArray* a = ArrayArg(M, Args[0], kNoLine, u"fusionner : le premier argument doit être un tableau");
  TMirelonArray* b = ArrayArg(M, Args[1], kNoLine, u"fusionner : le second argument doit être un tableau");
  IMirelonArray out;
  Result = NewArray(out);
  AppendAll(M, *out, a);
  AppendAll(M, *out, b);
}

void Mediane(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  CheckCount(M, Args, 1, kAtLine, u"médiane(tableau) attend 1 argument");
  TMirelonArray* a = ArrayArg(M, Args[0], kNoLine, u"médiane : l'argument doit être un tableau");
  if (CountOf(a) == 0) M.Fail(u"médiane : le tableau ne doit pas être vide");
  std::vector<double> v;
  v.reserve(a->Count());
  for (const TMirelonValue& e : a->Items()) {
    M.CheckAbort();
    v.push_back(M.ToNumber(e));
  }
  std::sort(v.begin(), v.end(), [&M](double x, double y) {
    M.CheckAbort();
    return x < y;
  });
  size_t n = v.size();
  Result = TMirelonValue::Number(n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

void IndexDe(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  CheckCount(M, Args, 2, kAtLine, u"index_de(tableau, valeur) attend 2 arguments");
  TMirelonArray* a = ArrayArg(M, Args[0], kNoLine, u"index_de : le premier argument doit être un tableau");
  int32_t position = 0;
  for (int32_t i = 0; i < CountOf(a) && position == 0; ++i) {
    M.CheckAbort();
    if (ValuesEqual(a->Item(i), Args[1])) position = i + 1;
  }
  Result = TMirelonValue::Number(position);
}

void Intervalle(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  CheckCount(M, Args, 2, kAtLine, u"intervalle(debut, fin) attend 2 arguments");
  int64_t from = M.ToInteger(Args[0]), to = M.ToInteger(Args[1]);
  // Unsigned difference: the bounds may be anywhere in the 64-bit range.
  uint64_t span = from <= to ? static_cast<uint64_t>(to) - static_cast<uint64_t>(from)
                             : static_cast<uint64_t>(from) - static_cast<uint64_t>(to);
  if (span >= 1000000) M.Fail(u"intervalle : plage trop grande (maximum 1 000 000 éléments)");
  int64_t step = from <= to ? 1 : -1;
  IMirelonArray out;
  TMirelonValue made = NewArray(out);
  for (uint64_t k = 0; k <= span; ++k) {
    M.CheckAbort();
    out->Add(TMirelonValue::Number(static_cast<double>(from + step * static_cast<int64_t>(k))));
  }
  Result = made;
}

void Assembler(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  if (Args.size() < 2) M.Fail(u"assembler(tableau1, tableau2, ...) attend au moins 2 tableaux");
  int32_t rows = INT32_MAX;
  for (const TMirelonValue& v : Args) {
    TMirelonArray* a = ArrayArg(M, v, kAtLine, u"assembler : tous les arguments doivent être des tableaux");
    rows = std::min(rows, CountOf(a));
  }
  IMirelonArray out;
  Result = NewArray(out);
  for (int32_t i = 0; i < rows; ++i) {
    M.CheckAbort();
    IMirelonArray row;
    out->Add(NewArray(row));
    for (const TMirelonValue& v : Args) row->Add(v.Arr->Item(i));
  }
}

}  // namespace

std::span<const TBuiltinDef> ArrayBuiltins() {
  static const TBuiltinDef defs[] = {
    {u"taille", Taille},
    {u"premier", Premier},
    {u"dernier", Dernier},
    {u"melanger/mélanger", Melanger},
    {u"liste_tableau", ListeTableau},
    {u"existe", Existe},
    {u"champs", Champs},
    {u"supprime_champ", SupprimeChamp},
    {u"joindre", Joindre},
    {u"trier", Trier},
    {u"unique", Unique},
    {u"somme", Somme},
    {u"moyenne", Moyenne},
    {u"est_vide", EstVide},
    {u"fusionner", Fusionner},
    {u"mediane/médiane", Mediane},
    {u"index_de", IndexDe},
    {u"intervalle", Intervalle},
    {u"assembler", Assembler},
  };
  return defs;
}

}  // namespace mirelon
