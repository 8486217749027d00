// Arithmetic, comparison and logic operators, with their French phrases.

export default {
  id: 'operateurs',
  title: 'Opérateurs',
  intro: 'Les opérateurs calculent (+ - * / ^ mod), comparent (= <> < > <= >=, ou en français : « est plus grand que ») et combinent des conditions (et, ou, non).',
  entries: [
    {
      names: ['+'],
      kind: 'opérateur',
      signature: 'a + b',
      summary: 'Additionne deux nombres, ou colle deux textes (si l’un des deux est un texte).',
      example: {
        code: `affiche 2 + 3
affiche 'Niveau ' + 2
affiche 1 + '1'`,
        output: `5
Niveau 2
11`,
      },
      see: ['-', 'ajoute'],
    },
    {
      names: ['-'],
      kind: 'opérateur',
      signature: 'a - b   ou   -a',
      summary: 'Soustrait deux nombres, ou change le signe d’un nombre.',
      errors: ['Soustraction de textes impossible'],
      example: {
        code: `affiche 10 - 4
x vaut 3
affiche -x`,
        output: `6
-3`,
      },
      see: ['+', 'soustrait'],
    },
    {
      names: ['*'],
      kind: 'opérateur',
      signature: 'a * b',
      summary: 'Multiplie deux nombres.',
      example: {
        code: `affiche 6 * 7
affiche 2 + 3 * 4`,
        output: `42
14`,
      },
      see: ['/'],
    },
    {
      names: ['/'],
      kind: 'opérateur',
      signature: 'a / b',
      summary: 'Divise a par b. Le résultat peut avoir une virgule.',
      errors: ['Division par zéro'],
      example: {
        code: `affiche 7 / 2
affiche 10 / 4`,
        output: `3,5
2,5`,
      },
      see: ['mod', 'arrondi'],
    },
    {
      names: ['mod', '%'],
      kind: 'opérateur',
      signature: 'a mod b   ou   a % b',
      summary: 'Le reste de la division de a par b : 7 mod 3 vaut 1.',
      details: 'Pratique pour savoir si un nombre est pair : n mod 2 = 0.',
      errors: ['Modulo par zéro'],
      example: {
        code: `affiche 7 mod 3
affiche 10 % 5
affiche 125 mod 60`,
        output: `1
0
5`,
      },
      see: ['/', 'pair'],
    },
    {
      names: ['^'],
      kind: 'opérateur',
      signature: 'a ^ b',
      summary: 'La puissance : a multiplié par lui-même b fois. 2 ^ 3 vaut 8.',
      details: '-2 ^ 2 vaut -4, car la puissance est calculée avant le signe moins.',
      errors: ['Nombre trop grand : au-delà de 9 007 199 254 740 992 (2^53), les nombres ne sont plus exacts'],
      example: {
        code: `affiche 2 ^ 3
affiche 10 ^ 2
affiche 4 ^ 0.5`,
        output: `8
100
2`,
      },
      see: ['puissance', 'racine'],
    },
    {
      names: ['=', 'égal', 'égale', 'égal à', 'égale à', 'est égal à', 'est égale à'],
      kind: 'opérateur',
      signature: 'a = b   ou   a est égal à b',
      summary: 'Vrai si les deux valeurs sont égales.',
      details: 'Les accents des mots de comparaison sont facultatifs (egal) ; seul « = » compare, il ne change jamais une variable (pour cela : vaut). Deux textes doivent être identiques, majuscules comprises.',
      example: {
        code: `x vaut 4
si x est égal à 4 alors
  affiche 'x vaut bien 4'
fin si
affiche 'Chat' = 'chat'`,
        output: `x vaut bien 4
faux`,
      },
      see: ['<>', 'si'],
    },
    {
      names: ['<>', 'différent', 'différente', 'différent de', 'différente de', 'est différent de', 'est différente de'],
      kind: 'opérateur',
      signature: 'a <> b   ou   a est différent de b',
      summary: 'Vrai si les deux valeurs ne sont pas égales.',
      example: {
        code: `réponse vaut 'non'
si réponse est différente de 'oui' alors
  affiche 'Dommage'
fin si
affiche 3 <> 4`,
        output: `Dommage
vrai`,
      },
      see: ['='],
    },
    {
      names: ['<', 'plus petit', 'plus petit que', 'est plus petit que', 'inférieur', 'inférieur à', 'est inférieur à'],
      kind: 'opérateur',
      signature: 'a < b   ou   a est plus petit que b',
      summary: 'Vrai si a est strictement plus petit que b.',
      details: 'Si l’un des deux est un texte, on compare des textes lettre par lettre : "10" < "9" est vrai. Écris ces mots au masculin : « plus petite » ou « inférieure » ne sont pas reconnus.',
      example: {
        code: `température vaut -2
si température est plus petit que 0 alors
  affiche 'Il gèle'
fin si
affiche 3 < 3`,
        output: `Il gèle
faux`,
      },
      see: ['<=', '>'],
    },
    {
      names: ['>', 'plus grand', 'plus grand que', 'est plus grand que', 'supérieur', 'supérieur à', 'est supérieur à'],
      kind: 'opérateur',
      signature: 'a > b   ou   a est plus grand que b',
      summary: 'Vrai si a est strictement plus grand que b.',
      example: {
        code: `âge vaut 15
si âge est plus grand que 12 alors
  affiche 'Ado'
fin si`,
        output: `Ado`,
      },
      see: ['>=', '<'],
    },
    {
      names: ['<=', 'plus petit ou égal à', 'est plus petit ou égal à', 'inférieur ou égal à', 'est inférieur ou égal à'],
      kind: 'opérateur',
      signature: 'a <= b   ou   a est inférieur ou égal à b',
      summary: 'Vrai si a est plus petit que b ou égal à b.',
      example: {
        code: `affiche 3 <= 3
affiche 5 est inférieur ou égal à 2`,
        output: `vrai
faux`,
      },
      see: ['<', '>='],
    },
    {
      names: ['>=', 'plus grand ou égal à', 'est plus grand ou égal à', 'supérieur ou égal à', 'est supérieur ou égal à'],
      kind: 'opérateur',
      signature: 'a >= b   ou   a est supérieur ou égal à b',
      summary: 'Vrai si a est plus grand que b ou égal à b.',
      example: {
        code: `note vaut 10
si note est supérieur ou égal à 10 alors
  affiche 'Reçu'
fin si`,
        output: `Reçu`,
      },
      see: ['>', '<='],
    },
    {
      names: ['et'],
      kind: 'opérateur',
      signature: 'condition1 et condition2',
      summary: 'Vrai seulement si les deux conditions sont vraies.',
      details: 'Les deux côtés sont toujours calculés : « x <> 0 et 10 / x > 1 » donne une division par zéro quand x vaut 0.',
      example: {
        code: `âge vaut 14
si âge >= 11 et âge <= 15 alors
  affiche 'Collégien'
fin si`,
        output: `Collégien`,
      },
      see: ['ou', 'non'],
    },
    {
      names: ['ou'],
      kind: 'opérateur',
      signature: 'condition1 ou condition2',
      summary: 'Vrai si au moins une des deux conditions est vraie.',
      example: {
        code: `jour vaut 'dimanche'
si jour = 'samedi' ou jour = 'dimanche' alors
  affiche 'Pas de cours'
fin si`,
        output: `Pas de cours`,
      },
      see: ['et'],
    },
    {
      names: ['non'],
      kind: 'opérateur',
      signature: 'non condition',
      summary: 'Inverse une condition : vrai devient faux et faux devient vrai.',
      details: 'non a = b se lit non (a = b).',
      example: {
        code: `pluie vaut faux
si non pluie alors
  affiche 'On sort !'
fin si
affiche non vrai`,
        output: `On sort !
faux`,
      },
      see: ['et', 'vrai'],
    },
  ],
};
