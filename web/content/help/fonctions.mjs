// The pupil's own functions and procedures, errors caught with essayer, and
// the end of a program.

export default {
  id: 'fonctions',
  title: 'Fonctions et erreurs',
  intro: 'Une fonction calcule et renvoie une valeur ; une procédure fait une action. Donne-leur un nom et appelle-les autant de fois que tu veux.',
  entries: [
    {
      names: ['fonction', 'fin fonction'],
      kind: 'instruction',
      signature: 'fonction nom(param1, param2)\n  …\n  retourne valeur\nfin fonction',
      summary: 'Définit une fonction : un calcul qui reçoit des paramètres et renvoie un résultat avec « retourne ».',
      details: 'On l’appelle dans une expression : affiche carré(4). Une fonction sans « retourne » renvoie 0. Les variables créées dans la fonction restent dans la fonction. Une fonction qui porte le nom d’une fonction native (comme longueur) n’est jamais appelée : choisis un autre nom.',
      errors: [
        'Fonction/procédure inconnue : "carre"',
        '"carré" : 1 paramètre(s) attendu(s), 2 fourni(s)',
        'Définition "carré" sans fin correspondante',
        'Nom de paramètre interdit : "texte" est un nom de type',
      ],
      example: {
        code: `fonction carré(n)
  retourne n * n
fin fonction
affiche carré(4)
affiche carré(1,5)`,
        output: `16
2,25`,
      },
      see: ['retourne', 'procédure'],
    },
    {
      names: ['procédure', 'procedure', 'fin procédure', 'fin procedure'],
      kind: 'instruction',
      signature: 'procédure nom(param1, param2)\n  …\nfin procédure',
      summary: 'Définit une procédure : une suite d’instructions qu’on lance avec « appelle ».',
      details: 'Une procédure ne renvoie pas de valeur. On peut la définir avant ou après l’endroit où on l’appelle.',
      errors: [
        'Fonction/procédure inconnue : "salut"',
        'Paramètre en double : "x"',
        'Récursion trop profonde (5001 appels imbriqués) : "boucle" s\'appelle peut-être elle-même sans condition d\'arrêt.',
      ],
      example: {
        code: `appelle saluer('Léo', 2)
procédure saluer(nom, n)
  répète n fois
    affiche 'Salut ' + nom
  fin répète
fin procédure`,
        output: `Salut Léo
Salut Léo`,
      },
      see: ['appelle', 'fonction'],
    },
    {
      names: ['retourne'],
      kind: 'instruction',
      signature: 'retourne valeur',
      summary: 'Termine la fonction et donne sa valeur de résultat.',
      details: 'Dans une boucle, « retourne » sort aussi de la boucle.',
      errors: ['retourne attend une expression'],
      example: {
        code: `fonction plusGrand(x, y)
  si x > y alors
    retourne x
  fin si
  retourne y
fin fonction
affiche plusGrand(3, 8)`,
        output: `8`,
      },
      see: ['fonction'],
    },
    {
      names: ['appelle'],
      kind: 'instruction',
      signature: 'appelle nom(arguments)',
      summary: 'Lance une procédure (ou une fonction dont on ne garde pas le résultat).',
      errors: ['appelle attend un nom de procédure', 'Fonction/procédure inconnue : "dessine"'],
      example: {
        code: `procédure tirets(n)
  affiche repeter_texte('-', n)
fin procédure
appelle tirets(5)
appelle tirets(2)`,
        output: `-----
--`,
      },
      see: ['procédure'],
    },
    {
      names: ['essayer', 'attraper', 'fin essayer'],
      kind: 'instruction',
      signature: 'essayer\n  …\nattraper erreur\n  …\nfin essayer',
      summary: 'Essaie un bloc ; si une erreur arrive, le programme ne s’arrête pas et passe au bloc « attraper ».',
      details: 'Le nom après « attraper » reçoit le message de l’erreur. « terminer » et la récursion trop profonde ne sont pas attrapés.',
      errors: ['Élément attendu : fin essayer, mais trouvé : la fin du programme'],
      example: {
        code: `essayer
  affiche 10 / 0
attraper e
  affiche 'Oups : ' + e
fin essayer
affiche 'On continue'`,
        output: `Oups : Ligne 2: Division par zéro
On continue`,
      },
      see: ['terminer'],
    },
    {
      names: ['terminer'],
      kind: 'instruction',
      signature: 'terminer',
      summary: 'Arrête tout le programme, normalement, même depuis une fonction ou une boucle.',
      example: {
        code: `pour i de 1 à 5
  si i = 3 alors
    terminer
  fin si
  affiche i
fin pour
affiche 'jamais affiché'`,
        output: `1
2`,
      },
      see: ['arrête'],
    },
  ],
};
