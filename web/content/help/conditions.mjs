// Choosing what to run: si and selon.

export default {
  id: 'conditions',
  title: 'Conditions',
  intro: 'Une condition fait un choix : le programme n’exécute un bloc que si quelque chose est vrai.',
  entries: [
    {
      names: ['si', 'alors', 'sinon', 'sinon si', 'fin si'],
      kind: 'instruction',
      signature: 'si condition alors\n  …\nsinon si condition alors\n  …\nsinon\n  …\nfin si',
      summary: 'Exécute un bloc seulement si la condition est vraie ; sinon passe au bloc suivant.',
      details: 'Les parties « sinon si » et « sinon » sont facultatives. Seul le premier bloc dont la condition est vraie s’exécute. N’oublie pas « fin si ».',
      errors: [
        'Élément attendu : fin si, mais trouvé : la fin du programme',
        'Élément attendu : alors, mais trouvé : une fin de ligne',
      ],
      example: {
        code: `note vaut 14
si note >= 16 alors
  affiche 'Très bien'
sinon si note >= 10 alors
  affiche 'Bien'
sinon
  affiche 'À revoir'
fin si`,
        output: `Bien`,
      },
      see: ['selon', '=', 'et'],
    },
    {
      names: ['selon', 'cas', 'sinon selon', 'fin selon'],
      kind: 'instruction',
      signature: 'selon valeur\ncas 1, 2 :\n  …\ncas 3 à 5 :\n  …\nsinon selon :\n  …\nfin selon',
      summary: 'Compare une valeur à plusieurs cas et exécute le premier qui correspond.',
      details: 'Un cas peut lister plusieurs valeurs séparées par des virgules, ou un intervalle « 10 à 20 ». « sinon selon : » sert quand aucun cas ne correspond. Pas de ligne vide entre « selon » et le premier « cas ».',
      errors: [
        'Élément attendu : fin selon, mais trouvé : une fin de ligne',
        'Élément attendu : ":", mais trouvé : une fin de ligne',
      ],
      example: {
        code: `jour vaut 6
selon jour
cas 1, 2, 3, 4, 5 :
  affiche 'Au collège'
cas 6 à 7 :
  affiche 'Week-end !'
sinon selon :
  affiche 'Jour inconnu'
fin selon`,
        output: `Week-end !`,
      },
      see: ['si'],
    },
  ],
};
