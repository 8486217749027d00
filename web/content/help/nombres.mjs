export default { id: 'nombres', title: 'nombres', intro: 'nombres', entries: [] };
