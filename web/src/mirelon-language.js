// The Mirelon language for CodeMirror: colours from the tokens of syntax.js,
// indentation of blocks, comment toggling, bracket matching. Each kind of
// token gets one class ("mir-keyword" …), coloured by editor.css in both themes.

import { StreamLanguage, HighlightStyle, syntaxHighlighting, indentUnit, bracketMatching, indentOnInput } from '@codemirror/language';
import { tags } from '@lezer/highlight';
import { readToken, startState, copyState, startLine, indentSteps } from './syntax.js';

export const tokenClasses = [
  [tags.keyword, 'mir-keyword'],
  [tags.operatorKeyword, 'mir-operator-word'],
  [tags.string, 'mir-string'],
  [tags.special(tags.string), 'mir-special'],
  [tags.number, 'mir-number'],
  [tags.bool, 'mir-atom'],
  [tags.lineComment, 'mir-comment'],
  [tags.blockComment, 'mir-comment'],
  [tags.standard(tags.variableName), 'mir-builtin'],
  [tags.definition(tags.variableName), 'mir-definition'],
  [tags.typeName, 'mir-type'],
  [tags.variableName, 'mir-name'],
  [tags.operator, 'mir-operator'],
  [tags.paren, 'mir-bracket'],
  [tags.squareBracket, 'mir-bracket'],
  [tags.separator, 'mir-punctuation'],
  [tags.invalid, 'mir-invalid'],
];

const highlight = HighlightStyle.define(tokenClasses.map(([tag, className]) => ({ tag, class: className })));

// names: { builtins, types }, sets of lower-case names (from the help database).
export function mirelonLanguage(names) {
  const language = StreamLanguage.define({
    name: 'mirelon',
    startState,
    copyState,
    token(stream, state) {
      if (stream.sol()) startLine(state);
      const { end, type } = readToken(stream.string, stream.pos, state, names);
      stream.pos = Math.min(Math.max(end, stream.pos + 1), stream.string.length);
      return type;
    },
    blankLine: startLine,
    indent: (state, textAfter, context) => {
      const steps = indentSteps(state, textAfter);
      return steps === null ? null : steps * context.unit;
    },
    languageData: {
      commentTokens: { line: '//', block: { open: '{', close: '}' } },
      closeBrackets: { brackets: ['(', '[', "'", '"'] },
      // A closing or middle word re-indents its line as soon as it is typed.
      indentOnInput: /^\s*(fin\s+(si|pour|répète|repete|selon|essayer|fonction|procédure|procedure|classe|tant\s+que)|sinon|attraper|cas)$/i,
    },
  });
  return [language, syntaxHighlighting(highlight), indentUnit.of('  '), indentOnInput(), bracketMatching()];
}
