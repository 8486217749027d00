// Builtins on files, the network and arithmetic texts.

export default {
  id: 'fichiers',
  title: 'Fichiers et internet',
  intro: 'Lire et écrire de petits fichiers .txt et .csv (1 Mo au plus), lire des dessins .svg, télécharger en https:// et calculer une opération écrite dans un texte.',
  kind: 'fonction',
  entries: [
    {
      names: ['importer'],
      signature: "importer('fichier.txt')   ou   importer('https://…')",
      summary: 'Lit un fichier .txt ou .csv (ou une adresse https://) et donne son texte ; un fichier .svg donne une image.',
      errors: [
        'importer : fichier introuvable : "notes.txt"',
        'importer : seuls les fichiers .txt et .csv sont autorisés (obtenu : ".doc")',
        'importer : les URLs non sécurisées (http://) ne sont pas autorisées. Utilisez https:// à la place.',
        'importer : fichier trop volumineux (2000000 octets, maximum 1 Mo)',
      ],
      example: {
        code: `sauvegarder('courses.txt', 'pain;lait;œufs')\ncontenu vaut importer('courses.txt')\naffiche découper(contenu, ';')`,
        output: `[pain, lait, œufs]`,
      },
      see: ['sauvegarder', 'svg'],
    },
    {
      names: ['sauvegarder'],
      signature: "sauvegarder('fichier.txt', texte)",
      summary: 'Écrit le texte dans un fichier .txt ou .csv (il remplace son ancien contenu). Renvoie vrai.',
      errors: [
        'sauvegarder : seuls les fichiers .txt et .csv sont autorisés (obtenu : ".doc")',
        'sauvegarder : le dossier destination n\'existe pas : "absent"',
      ],
      example: {
        code: `affiche sauvegarder('score.txt', 'Record : 42')\naffiche importer('score.txt')`,
        output: `vrai\nRecord : 42`,
      },
      see: ['ajouter_ligne', 'importer'],
    },
    {
      names: ['ajouter_ligne'],
      signature: "ajouter_ligne('fichier.txt', texte)",
      summary: 'Ajoute une ligne à la fin d’un fichier .txt ou .csv (le crée s’il n’existe pas).',
      errors: ['ajouter_ligne : seuls les fichiers .txt et .csv sont autorisés (obtenu : ".doc")'],
      example: {
        code: `ajouter_ligne('journal.txt', 'lundi : 3 km')\najouter_ligne('journal.txt', 'mardi : 5 km')\nlignes vaut découper(importer('journal.txt'), caractère(10))\naffiche longueur(lignes) - 1`,
        output: `2`,
      },
      see: ['sauvegarder'],
    },
    {
      names: ['fichier_existe'],
      signature: "fichier_existe('fichier.txt')",
      summary: 'vrai si le fichier .txt ou .csv existe.',
      errors: ['fichier_existe : seuls les fichiers .txt et .csv sont autorisés (obtenu : ".doc")'],
      example: {
        code: `si non fichier_existe('record.txt') alors\n  sauvegarder('record.txt', '0')\nfin si\naffiche fichier_existe('record.txt')`,
        output: `vrai`,
      },
      see: ['importer'],
    },
    {
      names: ['télécharger', 'telecharger'],
      signature: "télécharger('https://…/image.png', dossier)",
      summary: 'Télécharge un fichier (image, .txt, .csv, .html…) depuis une adresse https:// dans un dossier, et donne son chemin.',
      errors: [
        'télécharger : les URLs non sécurisées (http://) ne sont pas autorisées. Utilisez https:// à la place.',
        'télécharger : URL invalide "ftp://exemple.fr/a.png"',
        'télécharger : le dossier destination n\'existe pas : "images"',
        'télécharger : l\'URL "https://exemple.fr/a.png" a retourné le code HTTP 404',
      ],
      example: {
        code: `essayer\n  télécharger('http://exemple.fr/chat.png', '.')\nattraper e\n  affiche e\nfin essayer`,
        output: `Ligne 2: télécharger : les URLs non sécurisées (http://) ne sont pas autorisées. Utilisez https:// à la place.`,
      },
      see: ['importer'],
    },
    {
      names: ['évaluer', 'evaluer'],
      signature: "évaluer('2 + 3 * 4')",
      summary: 'Calcule une opération écrite dans un texte, avec + - * / , et des parenthèses.',
      details: 'Pratique pour une calculatrice : demande l’opération, puis affiche évaluer(opération). Pas de signe moins devant un nombre ni de point décimal : écris 2,5.',
      errors: [
        'évaluer : division par zéro',
        'évaluer : parenthèse fermante manquante',
        'évaluer : caractère non autorisé "x" (seuls ( ) + - * / , et 0..9 sont permis)',
        'évaluer : expression incomplète',
      ],
      example: {
        code: `demande 'Opération ?' dans calcul\naffiche calcul + ' = ' + évaluer(calcul)`,
        inputs: ['25,8 * (8 + 2)'],
        output: `25,8 * (8 + 2) = 258`,
      },
      see: ['demande'],
    },
  ],
};
