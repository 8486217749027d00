export default { id: 'textes', title: 'textes', intro: 'textes', entries: [] };
