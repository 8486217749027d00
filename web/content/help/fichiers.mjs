export default { id: 'fichiers', title: 'fichiers', intro: 'fichiers', entries: [] };
