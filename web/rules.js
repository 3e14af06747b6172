// The rules the page offers, in the engine's numbering ("info rule").
// A rule says which runs of a colour's stones win; adding a rule is one entry.
export const RULES = [
  { id: 0, name: 'Freestyle (five or more)', wins: (length) => length >= 5 },
  { id: 1, name: 'Exactly five', wins: (length) => length === 5 },
];

export function ruleById(id) {
  return RULES.find((rule) => rule.id === id) ?? RULES[0];
}
