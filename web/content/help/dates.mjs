export default { id: 'dates', title: 'dates', intro: 'dates', entries: [] };
