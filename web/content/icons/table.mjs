// The icons of the "icône" builtin: our own code points in the Private Use
// Area, from U+E700 in the order of this table, each with a French name and
// the Material Design Icons glyph (Apache-2.0, package @mdi/svg) it draws.
// Append new icons at the end: a code point, once given, never changes,
// because pupils' programs name icons by code.

export const FIRST_CODE_POINT = 0xe700;

export const GROUPS = [
  ['fleches', 'Flèches', [
    ['flèche haut', 'arrow-up'], ['flèche bas', 'arrow-down'], ['flèche gauche', 'arrow-left'],
    ['flèche droite', 'arrow-right'], ['flèche haut gauche', 'arrow-top-left'], ['flèche haut droite', 'arrow-top-right'],
    ['flèche bas gauche', 'arrow-bottom-left'], ['flèche bas droite', 'arrow-bottom-right'], ['chevron haut', 'chevron-up'],
    ['chevron bas', 'chevron-down'], ['chevron gauche', 'chevron-left'], ['chevron droite', 'chevron-right'],
    ['recommencer', 'refresh'], ['annuler', 'undo'], ['rétablir', 'redo'], ['échanger', 'swap-horizontal'],
  ]],
  ['formes', 'Formes', [
    ['cercle', 'circle'], ['carré', 'square'], ['triangle', 'triangle'], ['losange', 'rhombus'],
    ['hexagone', 'hexagon'], ['pentagone', 'pentagon'], ['octogone', 'octagon'], ['étoile', 'star'],
    ['cœur', 'heart'], ['cercle vide', 'circle-outline'], ['carré vide', 'square-outline'],
    ['triangle vide', 'triangle-outline'], ['étoile vide', 'star-outline'], ['cœur vide', 'heart-outline'],
    ['plus', 'plus-thick'], ['croix', 'close-thick'], ['coche', 'check-bold'], ['moins', 'minus-thick'],
  ]],
  ['meteo', 'Météo et nature', [
    ['soleil', 'weather-sunny'], ['lune', 'weather-night'], ['nuages', 'weather-cloudy'],
    ['éclaircie', 'weather-partly-cloudy'], ['pluie', 'weather-rainy'], ['averse', 'weather-pouring'],
    ['neige', 'weather-snowy'], ['orage', 'weather-lightning'], ['vent', 'weather-windy'],
    ['brouillard', 'weather-fog'], ['parapluie', 'umbrella'], ['flocon', 'snowflake'],
    ['thermomètre', 'thermometer'], ['coucher de soleil', 'weather-sunset'], ['nuage', 'cloud'],
    ['croissant de lune', 'moon-waning-crescent'], ['étoile filante', 'star-shooting'], ['arbre', 'tree'],
    ['fleur', 'flower'], ['feuille', 'leaf'], ['feu', 'fire'], ['goutte', 'water'], ['éclair', 'lightning-bolt'],
  ]],
  ['animaux', 'Animaux', [
    ['chat', 'cat'], ['chien', 'dog'], ['lapin', 'rabbit'], ['poisson', 'fish'], ['oiseau', 'bird'],
    ['hibou', 'owl'], ['abeille', 'bee'], ['papillon', 'butterfly'], ['tortue', 'turtle'], ['escargot', 'snail'],
    ['cheval', 'horse'], ['vache', 'cow'], ['cochon', 'pig'], ['canard', 'duck'], ['manchot', 'penguin'],
    ['éléphant', 'elephant'], ['insecte', 'bug'], ['araignée', 'spider'], ['méduse', 'jellyfish'],
    ['dauphin', 'dolphin'], ['patte', 'paw'], ['chauve-souris', 'bat'], ['licorne', 'unicorn'], ['coccinelle', 'ladybug'],
  ]],
  ['ecole', 'École', [
    ['crayon', 'pencil'], ['stylo', 'pen'], ['livre', 'book-open-variant'], ['cahier', 'notebook'],
    ['règle', 'ruler'], ['calculatrice', 'calculator'], ['diplôme', 'school'], ['cartable', 'bag-personal'],
    ['ciseaux', 'content-cut'], ['palette', 'palette'], ['pinceau', 'brush'], ['gomme', 'eraser'],
    ['compas', 'math-compass'], ['globe', 'earth'], ['horloge', 'clock-outline'], ['cloche', 'bell'],
    ['chaise', 'chair-school'], ['microscope', 'microscope'], ['fiole', 'flask'], ['note de musique', 'music-note'],
    ['ballon de basket', 'basketball'], ['ballon de foot', 'soccer'], ['car scolaire', 'bus-school'], ['ampoule', 'lightbulb'],
  ]],
  ['visages', 'Visages', [
    ['content', 'emoticon-happy'], ['triste', 'emoticon-sad'], ['cool', 'emoticon-cool'], ['fâché', 'emoticon-angry'],
    ['pleure', 'emoticon-cry'], ['ravi', 'emoticon-excited'], ['mort de rire', 'emoticon-lol'], ['neutre', 'emoticon-neutral'],
    ['langue', 'emoticon-tongue'], ['clin d’œil', 'emoticon-wink'], ['bisou', 'emoticon-kiss'], ['malade', 'emoticon-sick'],
    ['perplexe', 'emoticon-confused'], ['assommé', 'emoticon-dead'], ['robot', 'robot'], ['fantôme', 'ghost'],
    ['extraterrestre', 'alien'], ['personne', 'account'],
  ]],
  ['medias', 'Médias', [
    ['lecture', 'play'], ['pause', 'pause'], ['stop', 'stop'], ['suivant', 'skip-next'], ['précédent', 'skip-previous'],
    ['avance rapide', 'fast-forward'], ['retour rapide', 'rewind'], ['enregistrer', 'record'], ['son fort', 'volume-high'],
    ['muet', 'volume-off'], ['répéter', 'repeat'], ['aléatoire', 'shuffle'], ['éjecter', 'eject'], ['musique', 'music'],
    ['appareil photo', 'camera'], ['micro', 'microphone'], ['casque', 'headphones'],
  ]],
  ['jeux', 'Jeux et objets', [
    ['maison', 'home'], ['drapeau', 'flag'], ['clé', 'key'], ['cadenas', 'lock'], ['cadenas ouvert', 'lock-open-variant'],
    ['trophée', 'trophy'], ['couronne', 'crown'], ['cadeau', 'gift'], ['fusée', 'rocket'], ['voiture', 'car'],
    ['vélo', 'bicycle'], ['avion', 'airplane'], ['bateau', 'sail-boat'], ['train', 'train'], ['pomme', 'food-apple'],
    ['gâteau', 'cake'], ['carotte', 'carrot'], ['pizza', 'pizza'], ['glace', 'ice-cream'], ['bonbon', 'candy'],
    ['manette', 'gamepad-variant'], ['dé', 'dice-5'], ['puzzle', 'puzzle'], ['repère', 'map-marker'], ['loupe', 'magnify'],
    ['engrenage', 'cog'], ['poubelle', 'trash-can'], ['bombe', 'bomb'], ['diamant', 'diamond-stone'], ['bouclier', 'shield'],
    ['épée', 'sword'], ['coffre au trésor', 'treasure-chest'], ['château', 'castle'], ['médaille', 'medal'],
  ]],
];

// Every icon with its code point: { name, code, hex, group, source }.
export function iconTable() {
  const icons = [];
  for (const [group, , members] of GROUPS)
    for (const [name, source] of members) {
      const code = FIRST_CODE_POINT + icons.length;
      icons.push({ name, code, hex: code.toString(16).toUpperCase(), group, source });
    }
  return icons;
}
