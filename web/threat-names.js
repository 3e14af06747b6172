// The engine's threat categories (0 strongest .. 17) in a player's words, for
// the colour that would play the point, and the shading band of each: the
// categories from an open two on are too weak to shade.
export const THREAT_WORDS = [
  'five', 'double open four', 'open four and four', 'open four', 'four-three',
  'four, leaving a closed three', 'four, leaving a two', 'four', 'double three',
  'open three, leaving a two', 'open three', 'closed three', 'double two',
  'open and closed two', 'open two', 'closed two', 'weak', 'dead',
];

export const BANDS = [
  { name: 'five', last: 0 },
  { name: 'open four, four-three', last: 4 },
  { name: 'four', last: 7 },
  { name: 'open or double three', last: 10 },
  { name: 'closed three, double two', last: 13 },
];

// The band of a category, or -1 for an unshaded one.
export function bandOf(category) { return BANDS.findIndex(({ last }) => category <= last); }
