export default { id: 'dessin', title: 'dessin', intro: 'dessin', entries: [] };
