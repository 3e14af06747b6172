// The rules the page offers, in the engine's numbering ("info rule").
// A rule says which runs of a colour's stones win, given how many of the run's
// two ends hold the opponent's stones; adding a rule is one entry.
// Renju's forbidden points come from the engine (its threats answer).
import { BLACK } from './position.js';

export const RULES = [
  { id: 0, name: 'Freestyle (five or more)', wins: (length) => length >= 5 },
  { id: 1, name: 'Exactly five', wins: (length) => length === 5 },
  {
    id: 4, name: 'Renju (black: exactly five, no forbidden points)',
    wins: (length, colour) => (colour === BLACK ? length === 5 : length >= 5),
  },
  {
    id: 9, name: 'Caro (exactly five, not blocked at both ends)',
    wins: (length, colour, blocked) => length === 5 && blocked < 2,
  },
];

export function ruleById(id) {
  return RULES.find((rule) => rule.id === id) ?? RULES[0];
}
