// Declarations and assignments: typed declarations, constants, "vaut",
// "ajoute", "soustrait", "supprime", "vide", field statements and indexed
// assignment.
#include "core/Interpreter.h"

namespace mirelon {

TMirelonValue TMirelon::DefaultValueOf(const std::u16string& W, bool& known) {
  known = true;
  if (W == u"nombre") return TMirelonValue::Number(0);
  if (W == u"texte") return TMirelonValue::Text(u"");
  if (W == u"booléen" || W == u"booleen") return TMirelonValue::BoolVal(false);
  if (W == u"tableau") return TMirelonValue::ArrayVal(TMirelonArray::New());
  if (W == u"enregistrement") return TMirelonValue::RecordVal(TMirelonRecord::New());
  if (W == u"date") return TMirelonValue::DateVal(0);
  if (W == u"heure") return TMirelonValue::HeureVal(0);
  if (W == u"toile") return NewCanvasValue(100, 100);
  if (W == u"image") return NewImageValue();
  known = false;
  return TMirelonValue();
}

// The type word at the current token, or the "Type inconnu" error.
static std::u16string TypeWordAt(const TMirelonToken& t) {
  std::u16string w = AsciiLower(t.Value);
  if (!IsTypeName(w)) throw EMirelonError::CreateFmtAtLine(t.Line, u"Type inconnu : \"%s\"", {t.Value});
  return w;
}

void TMirelon::DefineConstant(int32_t key, TMirelonValue V) {
  TNameInfo& info = FNames[key];
  info.IsConst = true;
  info.Const = std::move(V);
}

void TMirelon::ExecuteDeclaration(int32_t key, const std::u16string& N) {
  Expect(ttEst);
  if (At(ttUn) || At(ttUne)) ++FPos;
  if (At(ttConst)) {
    ++FPos;
    if (FNames[key].IsConst) FailFmt(u"Constante déjà définie : \"%s\"", {N});
    if (VariableExists(key)) FailFmt(u"\"%s\" existe déjà comme variable", {N});
    Expect(ttVaut);
    DefineConstant(key, Evaluate());
    return;
  }
  std::u16string w = TypeWordAt(CurrentToken());
  ++FPos;
  bool known;
  DefineLocal(key, N, DefaultValueOf(w, known));
}

void TMirelon::ExecuteMultiDeclaration(const TMirelonToken& first) {
  std::vector<const TMirelonToken*> names{&first};
  while (At(ttVirgule)) {
    ++FPos;
    if (!At(ttIdentifiant)) Fail(u"Identifiant attendu après \",\"");
    names.push_back(&FTokens[FPos]);
    ++FPos;
  }
  if (!At(ttEst)) Fail(u"Après \"x, y\", seule la forme \"x, y est ...\" est supportée");
  Expect(ttEst);
  if (At(ttUn) || At(ttUne)) ++FPos;
  if (At(ttConst)) {
    ++FPos;
    Expect(ttVaut);
    TMirelonValue v = Evaluate();
    for (const TMirelonToken* n : names) {
      if (FNames[n->Key].IsConst) FailFmt(u"Constante déjà définie : \"%s\"", {n->Value});
      if (VariableExists(n->Key)) FailFmt(u"\"%s\" existe déjà comme variable", {n->Value});
      DefineConstant(n->Key, v);
    }
    return;
  }
  std::u16string w = TypeWordAt(CurrentToken());
  ++FPos;
  bool known;
  for (const TMirelonToken* n : names) DefineLocal(n->Key, n->Value, DefaultValueOf(w, known));
}

void TMirelon::ExecuteConstant() {
  Expect(ttConst);
  if (!At(ttIdentifiant)) Fail(u"Constante attend un identifiant");
  const TMirelonToken& name = CurrentToken();
  ++FPos;
  if (FNames[name.Key].IsConst) FailFmt(u"Constante déjà définie : \"%s\"", {name.Value});
  if (VariableExists(name.Key)) FailFmt(u"\"%s\" existe déjà comme variable", {name.Value});
  Expect(ttVaut);
  DefineConstant(name.Key, Evaluate());
}

void TMirelon::ExecuteAssignment(int32_t key, const std::u16string& N) {
  int line = CurrentLine();
  Expect(ttVaut);
  double number;
  if (TMirelonValue* target = QuickNumberFor(key, number)) return target->SetNumber(number);
  TMirelonValue v = Evaluate();
  TMirelonValue* slot = FindVariable(key);
  if (!slot) return DefineLocal(key, N, std::move(v));
  TMirelonValueKind kind = LookUp(key)->Kind;  // a constant of that name comes first
  if (kind != v.Kind)
    throw EMirelonError::CreateFmtAtLine(line, u"\"%s\" est de type %s, impossible d'affecter un %s",
                                         {N, TypeName(kind), TypeName(v.Kind)});
  CheckNotConst(key, N);
  *slot = std::move(v);
}

static bool IsCanvas(const TMirelonValue& v) { return v.Kind == lvkRecord && v.Rec && v.Rec->HasField(u"__toile_id"); }

void TMirelon::ExecuteAdd(int32_t key, const std::u16string& N) {
  ++FPos;
  double number;
  if (TMirelonValue* target = QuickNumberFor(key, number)) return target->SetNumber(target->Num + number);
  TMirelonValue v = Evaluate();
  const TMirelonValue& cur = GetVariable(key, N);
  if (cur.Kind == lvkArray) {
    TMirelonValue arr = cur;
    if (!arr.Arr) arr.Arr = TMirelonArray::New();
    arr.Arr->Add(IsCanvas(v) ? CanvasSnapshot(v) : std::move(v));
    return AssignVariable(key, N, std::move(arr));
  }
  if (cur.Kind == lvkText) {
    CheckNotConst(key, N);
    // The variable's own text grows in place when nothing else shares it.
    TMirelonValue* slot = FindVariable(key);
    slot->Str.Append(v.Kind == lvkText ? v.Str.str() : ValToText(v));
    return;
  }
  if (cur.Kind != lvkNumber) FailFmt(u"\"ajoute\" non supporté sur le type %s", {TypeName(cur.Kind)});
  if (v.Kind != lvkNumber) FailFmt(u"\"%s\" est de type nombre, impossible d'ajouter un %s", {N, TypeName(v.Kind)});
  AssignVariable(key, N, TMirelonValue::Number(cur.Num + v.Num));
}

void TMirelon::ExecuteSubtract(int32_t key, const std::u16string& N) {
  ++FPos;
  double number;
  if (TMirelonValue* target = QuickNumberFor(key, number)) return target->SetNumber(target->Num - number);
  TMirelonValue v = Evaluate();
  const TMirelonValue& cur = GetVariable(key, N);
  if (cur.Kind != lvkNumber)
    FailFmt(u"\"%s\" est de type %s, \"soustrait\" réservé aux nombres", {N, TypeName(cur.Kind)});
  if (v.Kind != lvkNumber) FailFmt(u"Impossible de soustraire un %s à un nombre", {TypeName(v.Kind)});
  AssignVariable(key, N, TMirelonValue::Number(cur.Num - v.Num));
}

void TMirelon::ExecuteSupprime() {
  Expect(ttSupprime);
  if (!At(ttIdentifiant)) Fail(u"supprime attend un nom de tableau");
  const TMirelonToken& name = CurrentToken();
  ++FPos;
  DeleteArrayItem(name.Key, name.Value);
}

void TMirelon::DeleteArrayItem(int32_t key, const std::u16string& N) {
  TMirelonValue v = Evaluate();
  TMirelonValue cur = GetVariable(key, N);
  if (cur.Kind != lvkArray) FailFmt(u"\"%s\" n'est pas un tableau", {N});
  if (!cur.Arr) Fail(u"Tableau vide");
  int64_t k = ToInteger(v);
  if (k < 0 || k >= cur.Arr->Count()) FailFmt(u"Index hors limites : %s[%d]", {N, k});
  cur.Arr->Delete(static_cast<int32_t>(k));
  AssignVariable(key, N, std::move(cur));
}

void TMirelon::ExecuteVide() {
  Expect(ttVide);
  if (!At(ttIdentifiant)) Fail(u"vide attend un nom de tableau");
  const TMirelonToken& name = CurrentToken();
  ++FPos;
  TMirelonValue cur = GetVariable(name.Key, name.Value);
  if (cur.Kind != lvkArray) FailFmt(u"\"%s\" n'est pas un tableau", {name.Value});
  if (!cur.Arr) cur.Arr = TMirelonArray::New();
  cur.Arr->Clear();
  AssignVariable(name.Key, name.Value, std::move(cur));
}

// "p.x vaut", "ajoute" or "soustrait" an expression that reads as a number,
// on a number field of a record variable that is not a constant: the field
// changes in place, with the results and errors of the general statement.
bool TMirelon::QuickFieldStatement(int32_t key, int32_t fieldPos) {
  TMirelonTokenType op = FTokens[fieldPos + 1].TokenType;
  if (op != ttVaut && op != ttAjoute && op != ttSoustrait) return false;
  if (!QuickReadyAt(fieldPos + 2)) return false;
  TMirelonValue* rec = FindWritableVariable(key);
  if (!rec || rec->Kind != lvkRecord || !rec->Rec) return false;
  TMirelonValue* field = rec->Rec->FindField(FTokens[fieldPos].Value, FFieldHints[fieldPos]);
  if (!field || field->Kind != lvkNumber) return false;
  FPos = fieldPos + 2;
  double number;
  if (!QuickNumber(number)) {
    FPos = fieldPos + 1;
    return false;
  }
  field->SetNumber(op == ttVaut ? number : op == ttAjoute ? field->Num + number : field->Num - number);
  return true;
}

void TMirelon::ExecuteFieldStatement(int32_t key, const std::u16string& N) {
  Expect(ttDot);
  if (!At(ttIdentifiant)) Fail(u"Nom de champ attendu après \".\"");
  int32_t fieldPos = FPos++;
  if (QuickFieldStatement(key, fieldPos)) return;
  const std::u16string& F = FTokens[fieldPos].Value;
  TMirelonValue rec = GetVariable(key, N);
  if (rec.Kind != lvkRecord) FailFmt(u"\"%s\" n'est pas un enregistrement", {N});
  if (!rec.Rec) rec.Rec = TMirelonRecord::New();
  TMirelonTokenType op = CurrentToken().TokenType;
  int line = CurrentLine();
  if (op == ttVaut) {
    ++FPos;
    TMirelonValue v = Evaluate();
    TMirelonValue* old = rec.Rec->FindField(F, FFieldHints[fieldPos]);
    if (old && old->Kind != v.Kind)
      throw EMirelonError::CreateFmtAtLine(line, u"\"%s.%s\" est de type %s, impossible d'affecter un %s",
                                           {N, F, TypeName(old->Kind), TypeName(v.Kind)});
    if (old) *old = std::move(v);
    else rec.Rec->SetField(F, std::move(v));
  } else if (op == ttAjoute) {
    ++FPos;
    TMirelonValue v = Evaluate();
    TMirelonValue old = rec.Rec->GetField(F);
    if (old.Kind == lvkText) {
      old.Str.Append(ValToText(v));
      rec.Rec->SetField(F, std::move(old));
    } else if (old.Kind != lvkNumber) {
      FailFmt(u"\"ajoute\" non supporté sur le type %s", {TypeName(old.Kind)});
    } else if (v.Kind != lvkNumber) {
      FailFmt(u"\"%s.%s\" est de type nombre, impossible d'ajouter un %s", {N, F, TypeName(v.Kind)});
    } else {
      rec.Rec->SetField(F, TMirelonValue::Number(old.Num + v.Num));
    }
  } else if (op == ttSoustrait) {
    ++FPos;
    TMirelonValue v = Evaluate();
    TMirelonValue old = rec.Rec->GetField(F);
    if (old.Kind != lvkNumber)
      FailFmt(u"\"%s.%s\" est de type %s, \"soustrait\" réservé aux nombres", {N, F, TypeName(old.Kind)});
    if (v.Kind != lvkNumber) FailFmt(u"Impossible de soustraire un %s à un nombre", {TypeName(v.Kind)});
    rec.Rec->SetField(F, TMirelonValue::Number(old.Num - v.Num));
  } else {
    throw EMirelonError(Format(u"Ligne %d: instruction invalide sur champ \"%s.%s\"", {line, N, F}), line);
  }
  AssignVariable(key, N, std::move(rec));
}

void TMirelon::ExecuteIndexedAssignment(int32_t key, const std::u16string& N) {
  std::vector<int64_t> indexes;
  while (At(ttCroOuv)) {
    Expect(ttCroOuv);
    TMirelonValue x = Evaluate();
    Expect(ttCroFerm);
    int64_t k = ToInteger(x);
    if (k < 0) Fail(u"Index négatif interdit");
    indexes.push_back(k);
  }
  Expect(ttVaut);
  TMirelonValue v = Evaluate();
  TMirelonValue a = GetVariable(key, N);
  if (a.Kind != lvkArray) FailFmt(u"\"%s\" n'est pas un tableau", {N});
  if (!a.Arr) a.Arr = TMirelonArray::New();
  // Writing past the end grows the array: new empty arrays on the way to
  // the last index, empty texts before the last one.
  TMirelonArray* cur = a.Arr.get();
  for (size_t i = 0; i + 1 < indexes.size(); ++i) {
    int64_t k = indexes[i];
    TMirelonArray::CheckCount(static_cast<size_t>(k) + 1);
    while (cur->Count() <= k) cur->Add(TMirelonValue::ArrayVal(TMirelonArray::New()));
    TMirelonValue& e = cur->ItemRef(static_cast<int32_t>(k));
    if (e.Kind != lvkArray || !e.Arr) e = TMirelonValue::ArrayVal(TMirelonArray::New());
    cur = e.Arr.get();
  }
  int64_t last = indexes.back();
  TMirelonArray::CheckCount(static_cast<size_t>(last) + 1);
  if (cur->Count() <= last) cur->Resize(static_cast<int32_t>(last + 1), TMirelonValue::Text(u""));
  cur->SetItem(static_cast<int32_t>(last), std::move(v));
  AssignVariable(key, N, std::move(a));
}

}  // namespace mirelon
