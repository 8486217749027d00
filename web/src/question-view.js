// The open question under the console: a text field "Réponse", option buttons,
// or a wait for one of a few keys; "Annuler" beside each.

import { answerForKey, isPressable } from './prompt.js';
import { h } from './dom.js';

export class QuestionView {
  // onAnswer(value, shown) sends the answer; onCancel() ends the run.
  constructor(host, { onAnswer, onCancel }) {
    this.host = host;
    this.onAnswer = onAnswer;
    this.onCancel = onCancel;
    this.keyListener = null;
  }

  get open() {
    return !this.host.hidden;
  }

  show(question) {
    this.close();
    const cancel = h('button', { type: 'button', class: 'secondary', onclick: () => this.onCancel() }, 'Annuler');
    const card = question.kind === 'choice' ? this.choiceCard(question.options, cancel)
      : question.kind === 'keys' ? this.keysCard(question.keys, cancel)
      : this.textCard(question.question, cancel);
    this.host.replaceChildren(card);
    this.host.hidden = false;
    (card.querySelector('input, .choice') ?? card.querySelector('button')).focus();
  }

  textCard(question, cancel) {
    const field = h('input', { type: 'text', id: 'answer-field', autocomplete: 'off', spellcheck: 'false' });
    const send = () => this.onAnswer(field.value, field.value);
    field.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && !event.isComposing) { event.preventDefault(); send(); }
      if (event.key === 'Escape') { event.preventDefault(); this.onCancel(); }
    });
    return h('div', { class: 'question-card' },
      h('p', { class: 'question-prompt' }, question),
      h('div', { class: 'question-row' },
        h('label', { for: 'answer-field', class: 'field-label' }, 'Réponse'),
        field,
        h('button', { type: 'button', class: 'primary', onclick: send }, 'Envoyer'),
        cancel));
  }

  choiceCard(options, cancel) {
    const buttons = options.map((option, index) => h('button', {
      type: 'button', class: 'choice', onclick: () => this.onAnswer(index + 1, option),
    }, option));
    return h('div', { class: 'question-card' },
      h('p', { class: 'question-prompt' }, 'Choisis une réponse :'),
      h('div', { class: 'question-row choices' }, buttons, cancel));
  }

  // Waits for a key anywhere on the page; the keys are also buttons, for a
  // tablet without a keyboard. A key that cannot be typed is not offered.
  keysCard(keys, cancel) {
    const pressable = keys.map((key, index) => ({ key, number: index + 1 }))
      .filter(({ key }, index) => isPressable(key) && keys.indexOf(key) === index);
    if (!pressable.length) {
      return h('div', { class: 'question-card' },
        h('p', { class: 'question-prompt' }, 'Aucune de ces touches ne peut être tapée au clavier.'),
        h('div', { class: 'question-row' }, cancel));
    }
    this.keyListener = (event) => {
      if (event.key === 'Escape') { event.preventDefault(); this.onCancel(); return; }
      const number = answerForKey(keys, event);
      if (number > 0) {
        event.preventDefault();
        this.onAnswer(number, keys[number - 1]);
      }
    };
    window.addEventListener('keydown', this.keyListener, true);
    return h('div', { class: 'question-card' },
      h('p', { class: 'question-prompt' }, 'Appuie sur une de ces touches :'),
      h('div', { class: 'question-row choices' },
        pressable.map(({ key, number }) => h('button', {
          type: 'button', class: 'choice key', onclick: () => this.onAnswer(number, key),
          'aria-label': key === ' ' ? 'Espace' : key,
        }, key === ' ' ? 'Espace' : key)),
        cancel));
  }

  close() {
    if (this.keyListener) window.removeEventListener('keydown', this.keyListener, true);
    this.keyListener = null;
    this.host.hidden = true;
    this.host.replaceChildren();
  }
}
