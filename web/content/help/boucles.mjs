// Repeating: tant que, répète, pour, and leaving or skipping a turn.

export default {
  id: 'boucles',
  title: 'Boucles',
  intro: 'Une boucle répète un bloc d’instructions. Une boucle s’arrête d’elle-même après 100000 tours pour éviter de tourner sans fin.',
  entries: [
    {
      names: ['tant que', 'fin tant que'],
      kind: 'instruction',
      signature: 'tant que condition\n  …\nfin tant que',
      summary: 'Répète le bloc tant que la condition est vraie. La condition est vérifiée avant chaque tour.',
      details: 'Pense à changer quelque chose dans le bloc, sinon la condition reste vraie pour toujours.',
      errors: [
        'La boucle "tant que" dépasse 100000 itérations (probable boucle infinie).',
        'Élément attendu : fin tant que, mais trouvé : la fin du programme',
      ],
      example: {
        code: `n vaut 1
tant que n < 100
  n vaut n * 2
fin tant que
affiche n`,
        output: `128`,
      },
      see: ['répète', 'pour', 'arrête'],
    },
    {
      names: ['répète', 'repete', 'fois', 'fin répète', 'fin repete'],
      kind: 'instruction',
      signature: 'répète n fois\n  …\nfin répète',
      summary: 'Répète le bloc un nombre de fois choisi à l’avance.',
      details: 'Un nombre à virgule est coupé : répète 2.9 fois fait 2 tours. 0 ou un nombre négatif ne fait aucun tour.',
      errors: ['"répète 200000 fois" dépasse la limite de 100000 itérations.'],
      example: {
        code: `cri vaut ''
répète 3 fois
  cri ajoute 'Hip ! '
fin répète
affiche cri + 'Hourra !'`,
        output: `Hip ! Hip ! Hip ! Hourra !`,
      },
      see: ['pour', 'tant que'],
    },
    {
      names: ['pour', 'de', 'à', 'a', 'pas', 'fin pour'],
      kind: 'instruction',
      signature: 'pour i de début à fin [pas n]\n  …\nfin pour',
      summary: 'Compte de début à fin : la variable prend chaque valeur, l’une après l’autre.',
      details: 'Sans « pas », on avance de 1. Avec « pas -1 », on compte à rebours. Après la boucle, la variable garde sa dernière valeur. Les mots de, à, a et pas sont réservés : ils ne peuvent pas servir de nom de variable.',
      errors: [
        '"pas" ne peut pas être 0',
        '"pour" attend un identifiant',
        'La boucle "pour" dépasse 100000 itérations (probable boucle infinie).',
      ],
      example: {
        code: `pour i de 1 à 3
  affiche '7 x ' + i + ' = ' + 7 * i
fin pour
pour k de 10 à 0 pas -5
  affiche k
fin pour`,
        output: `7 x 1 = 7
7 x 2 = 14
7 x 3 = 21
10
5
0`,
      },
      see: ['répète', 'tant que'],
    },
    {
      names: ['arrête', 'arrete'],
      kind: 'instruction',
      signature: 'arrête',
      summary: 'Sort tout de suite de la boucle en cours ; le programme continue après la fin de la boucle.',
      errors: ['"arrete" ne peut être utilisé qu\'à l\'intérieur d\'une boucle'],
      example: {
        code: `pour i de 1 à 10
  si i * i > 20 alors
    arrête
  fin si
  affiche i
fin pour
affiche 'Sorti avec i = ' + i`,
        output: `1
2
3
4
Sorti avec i = 5`,
      },
      see: ['continue', 'terminer'],
    },
    {
      names: ['continue'],
      kind: 'instruction',
      signature: 'continue',
      summary: 'Saute la fin du tour en cours et passe directement au tour suivant de la boucle.',
      errors: ['"continue" ne peut être utilisé qu\'à l\'intérieur d\'une boucle'],
      example: {
        code: `pour i de 1 à 6
  si impair(i) alors
    continue
  fin si
  affiche i
fin pour`,
        output: `2
4
6`,
      },
      see: ['arrête'],
    },
  ],
};
