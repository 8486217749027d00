// Builtins that draw on a canvas ("toile"), and the colour builder.

const SVG_OPEN = (w, h) => `__SVG__<svg xmlns="http://www.w3.org/2000/svg" width="${w}" height="${h}" viewBox="0 0 ${w} ${h}">`;

export default {
  id: 'dessin',
  title: 'Dessin',
  intro: 'Déclare une toile (MaToile est une toile), dessine dessus, puis montre-la avec affiche. Le point (0, 0) est en haut à gauche, y descend. Les couleurs s’écrivent #RGB ou #RRGGBB.',
  kind: 'fonction',
  entries: [
    {
      names: ['dimension'],
      signature: 'dimension(toile, largeur, hauteur)',
      summary: 'Change la taille de la toile (de 1 à 1000 pixels de côté). Le dessin déjà fait est gardé.',
      errors: ['dimension(toile, largeur, hauteur) attend 3 arguments', 'dimension : taille 1 a 1000', 'dimension : le 1er argument doit etre une toile'],
      example: {
        code: `MaToile est une toile\ndimension(MaToile, 200, 50)\naffiche MaToile.largeur\naffiche MaToile`,
        output: `200\n${SVG_OPEN(200, 50)}</svg>__`,
      },
      see: ['toile', 'remplir'],
    },
    {
      names: ['rectangle'],
      signature: 'rectangle(toile, x, y, largeur, hauteur [, couleur])',
      summary: 'Un rectangle plein dont le coin en haut à gauche est en (x, y). Noir si tu ne donnes pas de couleur.',
      errors: [
        'rectangle(toile, x, y, largeur, hauteur [, couleur]) : 5 ou 6 arguments',
        'Couleur invalide : "rouge". Utilisez un code hexadécimal #RRGGBB (ex. #FF0000) ou #RGB (ex. #F00).',
        'rectangle : le 1er argument doit etre une toile',
      ],
      example: {
        code: `MaToile est une toile\nrectangle(MaToile, 10, 20, 80, 40, '#3366FF')\naffiche MaToile`,
        output: `${SVG_OPEN(100, 100)}<rect x="10" y="20" width="80" height="40" fill="#3366FF"/></svg>__`,
      },
      see: ['rectangle_arrondi', 'contour'],
    },
    {
      names: ['cercle'],
      signature: 'cercle(toile, cx, cy, rayon [, couleur])',
      summary: 'Un disque de centre (cx, cy) et de rayon donné.',
      errors: ['cercle(toile, cx, cy, rayon [, couleur]) : 4 ou 5 arguments', 'Couleur invalide : "red". Utilisez un code hexadécimal #RRGGBB (ex. #FF0000) ou #RGB (ex. #F00).'],
      example: {
        code: `MaToile est une toile\ncercle(MaToile, 50, 50, 30, '#F80')\naffiche MaToile`,
        output: `${SVG_OPEN(100, 100)}<circle cx="50" cy="50" r="30" fill="#F80"/></svg>__`,
      },
      see: ['ellipse', 'arc'],
    },
    {
      names: ['ellipse'],
      signature: 'ellipse(toile, cx, cy, rx, ry [, couleur])',
      summary: 'Un ovale de centre (cx, cy), de demi-largeur rx et de demi-hauteur ry.',
      errors: ['ellipse(toile, cx, cy, rx, ry [, couleur]) : 5 ou 6 arguments'],
      example: {
        code: `MaToile est une toile\nellipse(MaToile, 50, 50, 40, 20, '#00AA66')\naffiche MaToile`,
        output: `${SVG_OPEN(100, 100)}<ellipse cx="50" cy="50" rx="40" ry="20" fill="#00AA66"/></svg>__`,
      },
      see: ['cercle'],
    },
    {
      names: ['rectangle_arrondi'],
      signature: 'rectangle_arrondi(toile, x, y, largeur, hauteur, rayon [, couleur])',
      summary: 'Un rectangle aux coins arrondis, comme un bouton.',
      errors: ['rectangle_arrondi(toile, x, y, largeur, hauteur, rayon [, couleur]) : 6 ou 7 arguments'],
      example: {
        code: `MaToile est une toile\nrectangle_arrondi(MaToile, 10, 30, 80, 40, 10, '#9933CC')\naffiche MaToile`,
        output: `${SVG_OPEN(100, 100)}<rect x="10" y="30" width="80" height="40" rx="10" ry="10" fill="#9933CC"/></svg>__`,
      },
      see: ['rectangle'],
    },
    {
      names: ['ligne'],
      signature: 'ligne(toile, x1, y1, x2, y2 [, couleur [, épaisseur]])',
      summary: 'Un trait du point (x1, y1) au point (x2, y2).',
      errors: ['ligne(toile, x1, y1, x2, y2 [, couleur [, epaisseur]]) : 5 a 7 arguments'],
      example: {
        code: `MaToile est une toile\nligne(MaToile, 0, 0, 100, 100, '#FF0000', 3)\naffiche MaToile`,
        output: `${SVG_OPEN(100, 100)}<line x1="0" y1="0" x2="100" y2="100" stroke="#FF0000" stroke-width="3" stroke-linecap="round"/></svg>__`,
      },
      see: ['courbe'],
    },
    {
      names: ['pixel'],
      signature: 'pixel(toile, x, y, couleur)',
      summary: 'Colore un seul point de la toile. La couleur est obligatoire.',
      errors: ['pixel(toile, x, y, couleur) attend 4 arguments', "pixel : trop d'elements sur la toile (max 200000)"],
      example: {
        code: `MaToile est une toile\ndimension(MaToile, 3, 1)\npour x de 0 à 2\n  pixel(MaToile, x, 0, '#000')\nfin pour\naffiche MaToile`,
        output: `${SVG_OPEN(3, 1)}<rect x="0" y="0" width="1" height="1" fill="#000"/><rect x="1" y="0" width="1" height="1" fill="#000"/><rect x="2" y="0" width="1" height="1" fill="#000"/></svg>__`,
      },
      see: ['rectangle'],
    },
    {
      names: ['polygone'],
      signature: 'polygone(toile, x1, y1, x2, y2, x3, y3, … [, couleur])',
      summary: 'Une forme pleine qui relie les points dans l’ordre (au moins 3 points). Les points peuvent aussi venir d’un tableau.',
      errors: ['polygone(toile, x1, y1, x2, y2, x3, y3, ... [, couleur]) : au moins 3 points (paires x,y)'],
      example: {
        code: `MaToile est une toile\npolygone(MaToile, 50, 10, 90, 90, 10, 90, '#FFCC00')\naffiche MaToile`,
        output: `${SVG_OPEN(100, 100)}<polygon points="50,10 90,90 10,90" fill="#FFCC00"/></svg>__`,
      },
      see: ['courbe'],
    },
    {
      names: ['courbe'],
      signature: 'courbe(toile, x1, y1, x2, y2, … [, couleur])',
      summary: 'Une ligne brisée qui passe par tous les points (au moins 2). Pratique pour tracer un graphique.',
      errors: ['courbe(toile, x1, y1, x2, y2, ... [, couleur]) : au moins 2 points (paires x,y)', 'courbe : le tableau doit contenir au moins 2 points (paires x,y)'],
      example: {
        code: `MaToile est une toile\npoints vaut []\npour x de 0 à 100 pas 50\n  points ajoute x\n  points ajoute 100 - x * x / 100\nfin pour\ncourbe(MaToile, points, '#0066CC')\naffiche MaToile`,
        output: `${SVG_OPEN(100, 100)}<polyline points="0,100 50,75 100,0" fill="none" stroke="#0066CC" stroke-width="1"/></svg>__`,
      },
      see: ['ligne', 'polygone'],
    },
    {
      names: ['arc'],
      signature: 'arc(toile, cx, cy, rayon, angle_début, angle_fin [, couleur])',
      summary: 'Une part de disque, comme une part de tarte. Les angles sont en degrés, 0 à droite, en tournant dans le sens des aiguilles d’une montre.',
      errors: ['arc(toile, cx, cy, rayon, angle_debut, angle_fin [, couleur]) : 6 ou 7 arguments'],
      example: {
        code: `MaToile est une toile\narc(MaToile, 50, 50, 40, 0, 90, '#E91E63')\naffiche MaToile`,
        output: `${SVG_OPEN(100, 100)}<path d="M 50 50 L 90 50 A 40 40 0 0 1 50 90 Z" fill="#E91E63"/></svg>__`,
      },
      see: ['cercle', 'histogramme'],
    },
    {
      names: ['remplir'],
      signature: 'remplir(toile, couleur)',
      summary: 'Peint tout le fond de la toile, sous ce qui est déjà dessiné.',
      errors: ['remplir(toile, couleur) attend 2 arguments'],
      example: {
        code: `MaToile est une toile\ndimension(MaToile, 40, 40)\ncercle(MaToile, 20, 20, 10, '#FFFFFF')\nremplir(MaToile, '#000033')\naffiche MaToile`,
        output: `${SVG_OPEN(40, 40)}<rect x="0" y="0" width="40" height="40" fill="#000033"/><circle cx="20" cy="20" r="10" fill="#FFFFFF"/></svg>__`,
      },
      see: ['dégradé', 'effacer'],
    },
    {
      names: ['label'],
      signature: 'label(toile, x, y, texte [, couleur [, taille [, angle]]])',
      summary: 'Écrit un texte sur la toile ; (x, y) est le début de la ligne d’écriture. Taille de 1 à 100 (14 par défaut), angle de -180 à 180.',
      errors: [
        'label(toile, x, y, texte [, couleur [, taille [, angle]]]) : 4 à 7 arguments',
        'label : la taille doit être comprise entre 1 et 100',
        "label : l'angle doit être compris entre -180 et 180",
      ],
      example: {
        code: `MaToile est une toile\ndimension(MaToile, 120, 30)\nlabel(MaToile, 5, 20, 'Bonjour !', '#333', 16)\naffiche MaToile`,
        output: `${SVG_OPEN(120, 30)}<text x="5" y="20" fill="#333" font-family="sans-serif" font-size="16">Bonjour !</text></svg>__`,
      },
      see: ['label_largeur', 'label_hauteur'],
    },
    {
      names: ['label_largeur'],
      signature: 'label_largeur(texte, taille)',
      summary: 'La largeur approximative en pixels d’un texte écrit avec label, pour le centrer.',
      errors: ['label_largeur(texte, taille) attend 2 arguments', 'label_largeur : la taille doit être comprise entre 1 et 100'],
      example: {
        code: `largeur vaut label_largeur('Bonjour', 14)\naffiche largeur\naffiche 'x pour centrer sur 200 : ' + (200 - largeur) / 2`,
        output: `54\nx pour centrer sur 200 : 73`,
      },
      see: ['label', 'label_hauteur'],
    },
    {
      names: ['label_hauteur'],
      signature: 'label_hauteur(taille)',
      summary: 'La hauteur approximative en pixels d’une ligne de texte de cette taille.',
      errors: ['label_hauteur(taille) attend 1 argument', 'label_hauteur : la taille doit être comprise entre 1 et 100'],
      example: { code: `affiche label_hauteur(14)\naffiche label_hauteur(50)`, output: `17\n60` },
      see: ['label_largeur'],
    },
    {
      names: ['contour'],
      signature: 'contour(toile, couleur [, épaisseur])   ou   contour(toile, 0)',
      summary: 'Ajoute un bord aux formes dessinées ensuite (rectangles, rectangles arrondis, cercles, ellipses, polygones, arcs). contour(toile, 0) l’enlève.',
      errors: ['contour(toile, couleur, epaisseur) : 2 ou 3 arguments', "contour : l'épaisseur doit être comprise entre 1 et 100"],
      example: {
        code: `MaToile est une toile\ncontour(MaToile, '#000000', 2)\ncercle(MaToile, 50, 50, 20, '#FFFF00')\ncontour(MaToile, 0)\ncercle(MaToile, 80, 80, 10, '#FFFF00')\naffiche MaToile`,
        output: `${SVG_OPEN(100, 100)}<circle cx="50" cy="50" r="20" fill="#FFFF00" stroke="#000000" stroke-width="2"/><circle cx="80" cy="80" r="10" fill="#FFFF00"/></svg>__`,
      },
      see: ['cercle', 'rectangle'],
    },
    {
      names: ['effacer'],
      signature: 'effacer(toile)',
      summary: 'Efface tout le dessin ; la taille et le contour restent.',
      errors: ['effacer(toile) attend 1 argument'],
      example: {
        code: `MaToile est une toile\ncercle(MaToile, 50, 50, 20)\neffacer(MaToile)\naffiche MaToile`,
        output: `${SVG_OPEN(100, 100)}</svg>__`,
      },
      see: ['remplir', 'animation'],
    },
    {
      names: ['animation'],
      signature: 'animation(images, millisecondes [, répétitions])',
      summary: 'Joue comme un dessin animé les images d’un tableau de toiles, chacune pendant le temps donné.',
      details: 'Pour garder une image, ajoute la toile au tableau : images ajoute MaToile. Le dessin y est copié tel qu’il est à ce moment-là. Répétitions : de 0 à 20.',
      errors: [
        'animation(tableau, ms [, repetitions]) attend 2 ou 3 arguments',
        'animation : le tableau ne contient aucune image',
        "animation : l'élément 1 n'est pas une toile",
      ],
      example: {
        code: `MaToile est une toile\ndimension(MaToile, 20, 20)\nimages vaut []\npour x de 5 à 15 pas 10\n  effacer(MaToile)\n  cercle(MaToile, x, 10, 4, '#FF0000')\n  images ajoute MaToile\nfin pour\naffiche animation(images, 200, 2)`,
        output: `__ANIM__200__2__<svg xmlns="http://www.w3.org/2000/svg" width="20" height="20" viewBox="0 0 20 20"><circle cx="5" cy="10" r="4" fill="#FF0000"/></svg>||FRAME||<svg xmlns="http://www.w3.org/2000/svg" width="20" height="20" viewBox="0 0 20 20"><circle cx="15" cy="10" r="4" fill="#FF0000"/></svg>__\n2`,
      },
      see: ['effacer', 'ajoute'],
    },
    {
      names: ['rgb'],
      signature: 'rgb(rouge, vert, bleu)',
      summary: 'Le code #RRGGBB d’une couleur faite de rouge, de vert et de bleu, chacun de 0 à 255.',
      errors: ['rgb(r, v, b) attend 3 arguments', 'rgb : chaque composante doit être comprise entre 0 et 255'],
      example: { code: `affiche rgb(255, 128, 0)\naffiche rgb(10, 23, 56)`, output: `#FF8000\n#0A1738` },
      see: ['couleur', 'dégradé'],
    },
    {
      names: ['grille'],
      signature: 'grille(toile, pas [, couleur])',
      summary: 'Trace un quadrillage avec une ligne tous les « pas » pixels (gris clair par défaut).',
      errors: ['grille(toile, pas [, couleur]) : 2 ou 3 arguments', 'grille : le pas doit être >= 1', 'grille : pas trop petit (trop de lignes)'],
      example: {
        code: `MaToile est une toile\ndimension(MaToile, 20, 20)\ngrille(MaToile, 10, '#CCCCCC')\naffiche MaToile`,
        output: `${SVG_OPEN(20, 20)}<line x1="0" y1="0" x2="0" y2="20" stroke="#CCCCCC" stroke-width="1"/><line x1="10" y1="0" x2="10" y2="20" stroke="#CCCCCC" stroke-width="1"/><line x1="20" y1="0" x2="20" y2="20" stroke="#CCCCCC" stroke-width="1"/><line x1="0" y1="0" x2="20" y2="0" stroke="#CCCCCC" stroke-width="1"/><line x1="0" y1="10" x2="20" y2="10" stroke="#CCCCCC" stroke-width="1"/><line x1="0" y1="20" x2="20" y2="20" stroke="#CCCCCC" stroke-width="1"/></svg>__`,
      },
      see: ['ligne'],
    },
    {
      names: ['dégradé', 'degrade'],
      signature: "dégradé(toile, ['#couleur1', '#couleur2', …])",
      summary: 'Peint le fond de la toile avec un dégradé de gauche à droite entre les couleurs données.',
      details: 'Le nom du dégradé (grad…) est tiré au hasard : il change d’une exécution à l’autre, le dessin reste le même.',
      errors: [
        'degrade(toile, [couleur1, couleur2, ...]) attend 2 arguments',
        'degrade : il faut au moins 2 couleurs',
        'degrade : le 2e argument doit etre un tableau de couleurs, ex : degrade(toile, [#3f87a6, #ebf8e1, #f69d3c])',
      ],
      example: {
        code: `MaToile est une toile\ndimension(MaToile, 100, 20)\ndégradé(MaToile, ['#FF0000', '#0000FF'])\naffiche MaToile`,
        output: `${SVG_OPEN(100, 20)}<defs><linearGradient id="grad575757" x1="0%" y1="0%" x2="100%" y2="0%"><stop offset="0%" stop-color="#FF0000"/><stop offset="100%" stop-color="#0000FF"/></linearGradient></defs><rect x="0" y="0" width="100%" height="100%" fill="url(#grad575757)"/></svg>__`,
      },
      see: ['remplir', 'rgb'],
    },
    {
      names: ['icône', 'icone'],
      signature: "icône(toile, x, y, code [, couleur [, taille]])",
      summary: 'Dessine une icône de la police d’icônes de Mirelon ; (x, y) est le coin en bas à gauche. Taille de 1 à 400 (24 par défaut).',
      details: 'Le code est celui d’une icône de la liste ci-dessous (E722 est le soleil), écrit \'E722\', \'U+E722\' ou en nombre. Le panneau des icônes insère l’appel pour toi.',
      errors: [
        'icone(toile, x, y, code [, couleur [, taille]]) : 4 à 6 arguments',
        'icone : point de code Unicode invalide "$E700" (ex. $E735)',
        'icone : point de code Unicode hors limites',
        'icone : la taille doit être comprise entre 1 et 400',
      ],
      example: {
        code: `MaToile est une toile\ndimension(MaToile, 48, 48)\nicône(MaToile, 0, 48, 'E722', '#FFB300', 48)\naffiche MaToile`,
        output: `${SVG_OPEN(48, 48)}<text x="0" y="48" fill="#FFB300" font-family="Segoe MDL2 Assets" font-size="48">\uE722</text></svg>__`,
      },
      see: ['label', 'toile'],
    },
    {
      names: ['histogramme'],
      signature: 'histogramme(toile, valeurs [, couleur])',
      summary: 'Dessine un diagramme en barres, avec la valeur sous chaque barre.',
      errors: [
        'histogramme(toile, tableau|valeurs... [, couleur]) : au moins 2 arguments',
        'histogramme : le tableau est vide',
        'histogramme(toile, valeurs... [, couleur]) : au moins une valeur',
      ],
      example: {
        code: `MaToile est une toile\ndimension(MaToile, 80, 60)\nhistogramme(MaToile, [2, 4])\naffiche MaToile`,
        output: `${SVG_OPEN(80, 60)}<rect x="14" y="27" width="21" height="11" fill="#4A90D9"/><text x="24" y="54" fill="#333333" font-family="sans-serif" font-size="12" text-anchor="middle">2</text><rect x="44" y="16" width="21" height="22" fill="#4A90D9"/><text x="54" y="54" fill="#333333" font-family="sans-serif" font-size="12" text-anchor="middle">4</text></svg>__`,
      },
      see: ['rectangle', 'moyenne'],
    },
    {
      names: ['svg'],
      signature: 'svg(toile, x, y, image ou chemin, largeur, hauteur)',
      summary: 'Pose un dessin SVG (une image importée ou un fichier .svg) sur la toile, étiré à la taille donnée.',
      errors: [
        'svg(toile, x, y, chemin, largeur, hauteur) attend 6 arguments',
        'svg : fichier introuvable "logo.svg"',
        'svg : le fichier doit être un ".svg" (reçu ".png")',
        'svg : image vide',
      ],
      example: {
        code: `MaToile est une toile\nessayer\n  svg(MaToile, 0, 0, 'absent.svg', 50, 50)\nattraper e\n  affiche e\nfin essayer`,
        output: `Ligne 3: svg : fichier introuvable "absent.svg"`,
      },
      see: ['importer', 'image'],
    },
  ],
};
