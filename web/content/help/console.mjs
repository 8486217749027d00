// Showing things in the console and asking the pupil questions.

export default {
  id: 'console',
  title: 'Afficher et demander',
  intro: 'La console montre ce que ton programme affiche et pose ses questions. Chaque « affiche » écrit une ligne.',
  entries: [
    {
      names: ['affiche'],
      kind: 'instruction',
      signature: 'affiche valeur',
      summary: 'Écrit une valeur sur une nouvelle ligne de la console : un texte, un nombre, un tableau ou un dessin.',
      details: 'affiche prend une seule valeur ; pour en montrer plusieurs, colle-les avec + : affiche \'Score : \' + score.',
      errors: ['Expression attendue, obtenu : "EOL"'],
      example: {
        code: `affiche 'Bonjour !'
affiche 6 * 7
âge vaut 13
affiche 'J''ai ' + âge + ' ans'
affiche [1, 2, 3]`,
        output: `Bonjour !
42
J'ai 13 ans
[1, 2, 3]`,
      },
      see: ['demande', 'couleur'],
    },
    {
      names: ['demande', 'dans'],
      kind: 'instruction',
      signature: "demande 'question' dans variable",
      summary: 'Pose une question et range la réponse tapée dans une variable.',
      details: 'Si la variable est un nombre, la réponse est lue comme un nombre (0 si ce n’est pas un nombre). Si elle n’existe pas encore, elle devient un texte.',
      errors: [
        'demande "texte" attend le mot-clé "dans"',
        'demande "texte" dans attend un nom de variable',
        'demande sur tableau non supporté',
      ],
      example: {
        code: `demande 'Comment t''appelles-tu ?' dans prénom
âge est un nombre
demande 'Quel âge as-tu ?' dans âge
affiche 'Salut ' + prénom + ', dans 5 ans tu auras ' + (âge + 5) + ' ans.'`,
        inputs: ['Noé', '12'],
        output: `Salut Noé, dans 5 ans tu auras 17 ans.`,
      },
      see: ['choisir', 'appuyer'],
    },
    {
      names: ['choisir'],
      kind: 'instruction',
      signature: "choisir ['choix 1', 'choix 2'] dans n",
      summary: 'Montre des boutons ; n reçoit le numéro du bouton cliqué (1 pour le premier).',
      details: 'La variable doit être déclarée comme un nombre avant. On peut aussi donner un tableau : choisir options dans n.',
      errors: [
        'choisir : la variable "n" doit être déclarée comme un nombre (ex : n est un nombre)',
        'choisir attend au moins une option',
        'choisir attend le mot-clé "dans"',
      ],
      example: {
        code: `n est un nombre
couleurs vaut ['Rouge', 'Vert', 'Bleu']
choisir couleurs dans n
affiche 'Tu as choisi ' + couleurs[n - 1]`,
        inputs: ['2'],
        output: `Tu as choisi Vert`,
      },
      see: ['demande', 'appuyer'],
    },
    {
      names: ['appuyer'],
      kind: 'instruction',
      signature: "appuyer ['z', 'q', 's', 'd'] dans touche",
      summary: 'Attend que tu appuies sur une des touches ; la variable reçoit son numéro (1 pour la première).',
      details: 'Seule la première lettre de chaque texte compte, en minuscule. La variable doit être un nombre.',
      errors: [
        'appuyer attend une liste de touches entre crochets, ex : appuyer [\'z\', \'s\', \'d\', \'q\'] dans action',
        'appuyer : la variable "t" doit être déclarée comme un nombre (ex : t est un nombre)',
      ],
      example: {
        code: `touche est un nombre
appuyer ['o', 'n'] dans touche
si touche = 1 alors
  affiche 'Oui !'
sinon
  affiche 'Non...'
fin si`,
        inputs: ['1'],
        output: `Oui !`,
      },
      see: ['choisir'],
    },
    {
      names: ['couleur'],
      kind: 'instruction',
      signature: "couleur('#RRGGBB')   ou   couleur('#RRGGBB', 'texte')",
      summary: 'Change la couleur des lignes suivantes, ou colore seulement un morceau de texte.',
      details: 'Une couleur s’écrit # suivi de 6 chiffres hexadécimaux : #FF0000 rouge, #00AA00 vert, #0000FF bleu. couleur(\'#0\') ou couleur(\'défaut\') revient à la couleur normale. Dans une expression, couleur(c, t) donne un texte coloré à coller avec +.',
      errors: [
        'couleur : valeur invalide "rouge". Utilisez #RRGGBB ou #0 pour reset.',
        'couleur ne peut pas être appliquée à du html(). Utilisez html() pour la mise en forme, ou couleur() sur du texte simple.',
      ],
      example: {
        code: `couleur('#0066CC')
affiche 'Ligne en bleu'
couleur('#0')
affiche 'Attention : ' + couleur('#CC0000', 'danger') + ' !'`,
        output: `__COLOR__#0066CC__
Ligne en bleu
__COLOR__reset__
Attention : \x02#CC0000\x03danger\x02/\x03 !`,
      },
      see: ['affiche', 'rgb', 'html'],
    },
    {
      names: ['html'],
      kind: 'instruction',
      signature: "html('<h1>Titre</h1>')",
      summary: 'Affiche du texte mis en forme : titres, listes, gras, italique, liens et images.',
      details: 'Balises permises : h1 à h6, ul, ol, li, strong, em, a (avec href) et img (avec src).',
      errors: ['html : balise <p> non autorisée. Balises permises : h1 à h6, a, img, ul, ol, li, strong, em.'],
      example: {
        code: `html('<h2>Mes notes</h2>')
html('<ul><li>Maths : <strong>15</strong></li><li>Français : <em>14</em></li></ul>')`,
        output: `__HTML__<h2>Mes notes</h2>__
__HTML__<ul><li>Maths : <strong>15</strong></li><li>Français : <em>14</em></li></ul>__`,
      },
      see: ['affiche', 'couleur'],
    },
    {
      names: ['déboguer', 'deboguer'],
      kind: 'instruction',
      signature: 'déboguer valeur',
      summary: 'Écrit une valeur dans la carte de débogage, à part, pour voir ce que contient une variable.',
      details: 'La carte apparaît après la sortie du programme quand l’option de débogage est activée.',
      example: {
        code: `t vaut [3, 1, 2]
déboguer t
affiche 'Programme terminé'`,
        output: `__DEBUG__[3, 1, 2]__
Programme terminé`,
      },
      see: ['affiche', 'liste_tableau'],
    },
  ],
};
