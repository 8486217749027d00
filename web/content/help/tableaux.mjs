export default { id: 'tableaux', title: 'tableaux', intro: 'tableaux', entries: [] };
