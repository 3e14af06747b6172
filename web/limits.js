// The engine limits a person types: a whole number in range, or the reason it
// is refused, worded for the field it came from.
export const LIMITS = {
  time: { min: 100, max: 3600000, fallback: 2000, refusal: 'Give whole milliseconds from 100 to 3600000.' },
  depth: { min: 0, max: 999, fallback: 0, refusal: 'Give a whole number of plies from 0 (no limit) to 999.' },
  nbest: { min: 1, max: 10, fallback: 3, refusal: 'Give a whole number of moves from 1 to 10.' },
};

export function checkLimit(name, text) {
  const { min, max, refusal } = LIMITS[name];
  const value = /^\s*\d+\s*$/.test(text) ? Number(text) : NaN;
  return value >= min && value <= max ? { value } : { error: refusal };
}
