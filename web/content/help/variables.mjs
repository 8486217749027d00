// Variables, constants, types and the statements that change a variable.

export default {
  id: 'variables',
  title: 'Variables et types',
  intro: 'Une variable est une boîte qui porte un nom et garde une valeur. Elle garde toujours le type de sa première valeur : un nombre reste un nombre.',
  entries: [
    {
      names: ['est', 'un', 'une'],
      kind: 'instruction',
      signature: 'nom est un type',
      summary: 'Crée une variable d’un type donné, avec sa valeur de départ.',
      details: 'Les types sont nombre, texte, booléen, tableau, enregistrement, date, heure, toile et image. Un nombre commence à 0, un texte est vide, un booléen vaut faux. Plusieurs variables à la fois : largeur, hauteur est un nombre. Les mots a, à, de, pas et un sont réservés : ils ne peuvent pas servir de nom.',
      errors: [
        'Type inconnu : "entier"',
        'Nom de variable interdit : "texte" est un nom de type',
        'Nom de variable interdit : "longueur" est une fonction native',
      ],
      example: {
        code: `score est un nombre
nom est un texte
largeur, hauteur est un nombre
affiche score
affiche 'nom : "' + nom + '"'
affiche largeur + hauteur`,
        output: `0
nom : ""
0`,
      },
      see: ['vaut', 'constante', 'nombre'],
    },
    {
      names: ['vaut'],
      kind: 'instruction',
      signature: 'nom vaut expression',
      summary: 'Donne une nouvelle valeur à une variable (et la crée si elle n’existe pas encore).',
      details: 'La nouvelle valeur doit avoir le même type que l’ancienne : une variable qui contient un nombre ne peut pas recevoir un texte.',
      errors: [
        '"x" est de type nombre, impossible d\'affecter un texte',
        '"MAX" est une constante : modification interdite',
      ],
      example: {
        code: `x vaut 5
x vaut x * 2
affiche x
prénom vaut 'Inès'
affiche 'Bonjour ' + prénom`,
        output: `10
Bonjour Inès`,
      },
      see: ['est', 'ajoute'],
    },
    {
      names: ['constante'],
      kind: 'instruction',
      signature: 'constante NOM vaut expression',
      summary: 'Crée une valeur qui ne changera plus jamais pendant le programme.',
      details: 'On écrit souvent les constantes en majuscules. Autre forme : NOM est une constante vaut 3.',
      errors: [
        'Constante déjà définie : "MAX"',
        '"MAX" est une constante : modification interdite',
        '"x" existe déjà comme variable',
      ],
      example: {
        code: `constante TVA vaut 20
prix est une constante vaut 50
affiche prix + prix * TVA / 100`,
        output: `60`,
      },
      see: ['vaut'],
    },
    {
      names: ['ajoute'],
      kind: 'instruction',
      signature: 'nom ajoute valeur',
      summary: 'Ajoute une valeur : à un nombre (addition), à un texte (à la fin) ou à un tableau (nouvel élément).',
      details: 'Pour un enregistrement, on ajoute à un champ : joueur.score ajoute 10.',
      errors: [
        '"ajoute" non supporté sur le type booléen',
        '"n" est de type nombre, impossible d\'ajouter un texte',
      ],
      example: {
        code: `points vaut 10
points ajoute 5
phrase vaut 'Bon'
phrase ajoute 'jour'
liste vaut [1, 2]
liste ajoute 3
affiche points
affiche phrase
affiche liste`,
        output: `15
Bonjour
[1, 2, 3]`,
      },
      see: ['soustrait', 'supprime'],
    },
    {
      names: ['soustrait'],
      kind: 'instruction',
      signature: 'nom soustrait nombre',
      summary: 'Enlève un nombre à une variable qui contient un nombre.',
      errors: [
        '"s" est de type texte, "soustrait" réservé aux nombres',
        'Impossible de soustraire un texte à un nombre',
      ],
      example: {
        code: `vies vaut 3
vies soustrait 1
affiche 'Il te reste ' + vies + ' vies'`,
        output: `Il te reste 2 vies`,
      },
      see: ['ajoute'],
    },
    {
      names: ['supprime'],
      kind: 'instruction',
      signature: 'tableau supprime position   ou   supprime tableau position',
      summary: 'Retire d’un tableau l’élément à une position (la première position est 0).',
      details: 'Les éléments suivants reculent d’une place.',
      errors: [
        'Index hors limites : t[5]',
        '"x" n\'est pas un tableau',
      ],
      example: {
        code: `fruits vaut ['pomme', 'poire', 'kiwi']
fruits supprime 0
affiche fruits
supprime fruits 1
affiche fruits`,
        output: `[poire, kiwi]
[poire]`,
      },
      see: ['vide', 'ajoute'],
    },
    {
      names: ['vide'],
      kind: 'instruction',
      signature: 'vide tableau',
      summary: 'Retire tous les éléments d’un tableau.',
      errors: ['"x" n\'est pas un tableau', 'vide attend un nom de tableau'],
      example: {
        code: `notes vaut [12, 15, 9]
vide notes
affiche notes
affiche longueur(notes)`,
        output: `[]
0`,
      },
      see: ['supprime'],
    },
    {
      names: ['nombre'],
      kind: 'type',
      signature: 'x est un nombre',
      summary: 'Un nombre entier ou à virgule : 12, -3, 2,5 ou 2.5.',
      details: 'Le programme affiche les nombres avec une virgule : 7 / 2 donne 3,5. Entre deux arguments, mets un espace après la virgule : hasard(1, 100), car 1,100 est le nombre 1,1.',
      errors: ['Conversion en nombre impossible'],
      example: {
        code: `x est un nombre
x vaut 7 / 2
affiche x
affiche 2,5 + 0.5`,
        output: `3,5
3`,
      },
      see: ['est', 'convertir_nombre'],
    },
    {
      names: ['texte'],
      kind: 'type',
      signature: 'x est un texte',
      summary: 'Des lettres, des mots ou des phrases, écrits entre apostrophes \' ou guillemets ".',
      details: 'Le signe + colle deux textes. Pour écrire une apostrophe dans un texte entre apostrophes, double-la : \'l\'\'été\'. Les positions dans un texte commencent à 1 : mot[1] est la première lettre.',
      errors: ['Soustraction de textes impossible', 'Index hors limites : mot[0]'],
      example: {
        code: `mot vaut 'l''été'
affiche mot
affiche "Il a dit 'oui'"
affiche mot[1] + mot[3]`,
        output: `l'été
Il a dit 'oui'
lé`,
      },
      see: ['longueur', 'convertir_texte'],
    },
    {
      names: ['booléen', 'booleen'],
      kind: 'type',
      signature: 'x est un booléen',
      summary: 'Une valeur vrai ou faux, le résultat d’une comparaison.',
      example: {
        code: `majeur est un booléen
affiche majeur
majeur vaut 19 >= 18
affiche majeur`,
        output: `faux
vrai`,
      },
      see: ['vrai', 'si'],
    },
    {
      names: ['vrai', 'faux'],
      kind: 'valeur',
      signature: 'vrai   faux',
      summary: 'Les deux valeurs d’un booléen.',
      details: 'On peut les écrire en majuscules (VRAI). Dans un calcul, vrai compte pour 1 et faux pour 0.',
      example: {
        code: `fini vaut faux
si non fini alors
  affiche 'On continue'
fin si
affiche vrai + 1`,
        output: `On continue
2`,
      },
      see: ['booléen', 'non'],
    },
    {
      names: ['tableau'],
      kind: 'type',
      signature: 'x est un tableau   ou   x vaut [a, b, c]',
      summary: 'Une liste de valeurs rangées dans l’ordre. La première est à la position 0.',
      details: 'On lit un élément avec t[0], on le change avec t[0] vaut …, et t[i][j] lit un tableau dans un tableau. Deux variables qui reçoivent le même tableau partagent la même liste.',
      errors: [
        'Index hors limites : t[3]',
        'Crochet fermant "]" attendu dans le tableau',
        'Index négatif interdit',
      ],
      example: {
        code: `jours vaut ['lundi', 'mardi', 'mercredi']
affiche jours[0]
jours[1] vaut 'MARDI'
affiche jours
affiche longueur(jours)`,
        output: `lundi
[lundi, MARDI, mercredi]
3`,
      },
      see: ['ajoute', 'supprime', 'taille'],
    },
    {
      names: ['enregistrement'],
      kind: 'type',
      signature: 'x est un enregistrement',
      summary: 'Un ensemble de champs nommés, comme une fiche : eleve.nom, eleve.age.',
      details: 'Un champ est créé la première fois qu’on lui donne une valeur avec « vaut ». Il garde ensuite son type.',
      errors: [
        'Champ inconnu : "age"',
        '"x" n\'est pas un enregistrement',
        '"e.nom" est de type texte, impossible d\'affecter un nombre',
      ],
      example: {
        code: `élève est un enregistrement
élève.nom vaut 'Zoé'
élève.age vaut 13
élève.age ajoute 1
affiche élève.nom + ' a ' + élève.age + ' ans'
affiche élève`,
        output: `Zoé a 14 ans
{nom: Zoé, age: 14}`,
      },
      see: ['classe', 'champs', 'existe'],
    },
    {
      names: ['date'],
      kind: 'type',
      signature: 'x est une date',
      summary: 'Un jour du calendrier, affiché jj/mm/aaaa.',
      details: 'Une date déclarée vaut 30/12/1899. On en obtient une avec aujourd_hui() ou vers_date(\'14/07/2024\').',
      example: {
        code: `d est une date
affiche d
fête vaut vers_date('14/07/2024')
affiche fête
affiche type_de(fête)`,
        output: `30/12/1899
14/07/2024
date`,
      },
      see: ['vers_date', 'aujourd_hui', 'format_date'],
    },
    {
      names: ['heure'],
      kind: 'type',
      signature: 'x est une heure',
      summary: 'Une heure de la journée, affichée hh:mm:ss.',
      example: {
        code: `h est une heure
affiche h
réveil vaut vers_heure('7:15')
affiche réveil`,
        output: `00:00:00
07:15:00`,
      },
      see: ['vers_heure', 'maintenant'],
    },
    {
      names: ['toile'],
      kind: 'type',
      signature: 'MaToile est une toile',
      summary: 'Une feuille de dessin de 100 × 100 pixels. « affiche MaToile » montre le dessin.',
      details: 'Le point (0, 0) est en haut à gauche ; x va vers la droite et y vers le bas. Change la taille avec dimension.',
      example: {
        code: `MaToile est une toile
dimension(MaToile, 60, 40)
remplir(MaToile, '#DDEEFF')
cercle(MaToile, 30, 20, 15, '#FF8800')
affiche MaToile`,
        output: `__SVG__<svg xmlns="http://www.w3.org/2000/svg" width="60" height="40" viewBox="0 0 60 40"><rect x="0" y="0" width="60" height="40" fill="#DDEEFF"/><circle cx="30" cy="20" r="15" fill="#FF8800"/></svg>__`,
      },
      see: ['dimension', 'cercle', 'animation'],
    },
    {
      names: ['image'],
      kind: 'type',
      signature: 'x est une image',
      summary: 'Un dessin SVG lu dans un fichier avec importer(\'dessin.svg\'), que svg() pose sur une toile.',
      example: {
        code: `logo est une image
affiche type_de(logo)`,
        output: `image`,
      },
      see: ['importer', 'svg'],
    },
    {
      names: ['classe', 'fin classe'],
      kind: 'instruction',
      signature: 'classe Nom :\n  champ est un type\nfin classe',
      summary: 'Décrit un enregistrement et ses champs typés ; le nom de la classe devient une variable.',
      details: 'Chaque ligne de la classe déclare un ou plusieurs champs avec leur type. On utilise ensuite Nom.champ comme un champ d’enregistrement.',
      errors: [
        'Type de champ inconnu dans la classe : "entier"',
        'classe attend un nom',
        'Élément attendu : fin classe, mais trouvé : la fin du programme',
      ],
      example: {
        code: `classe Joueur :
  nom est un texte
  score, vies est un nombre
fin classe
Joueur.nom vaut 'Sam'
Joueur.vies vaut 3
Joueur.score ajoute 100
affiche Joueur`,
        output: `{nom: Sam, score: 100, vies: 3}`,
      },
      see: ['enregistrement'],
    },
    {
      names: ['//'],
      kind: 'syntaxe',
      signature: '// commentaire   ou   { commentaire }',
      summary: 'Une note pour les humains : le programme ne la lit pas.',
      details: '// va jusqu’à la fin de la ligne. Entre accolades { … }, le commentaire peut tenir sur plusieurs lignes.',
      example: {
        code: `// Mon premier programme
affiche 'Salut' // dit bonjour
{ Ces lignes
  sont ignorées }
affiche 'Fini'`,
        output: `Salut
Fini`,
      },
      see: ['affiche'],
    },
  ],
};
