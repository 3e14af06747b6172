// An engine value in a player's terms: signed from the viewer's side, and a
// plain word on who stands better.
import { BLACK } from './position.js';

const colourName = (colour) => (colour === BLACK ? 'black' : 'white');

// The value of a search block ({ score } or { mate }, with its winrate, all for
// the side to move) as seen by `viewer`.
export function describeValue({ score, mate, winrate }, toMove, viewer) {
  const sign = toMove === viewer ? 1 : -1;
  const other = 3 - toMove;
  if (mate !== undefined) {
    const seen = sign * mate;
    return { text: `${seen > 0 ? '+' : '-'}M${Math.abs(mate)}`, word: `${colourName(mate > 0 ? toMove : other)} wins by force` };
  }
  const seen = sign * score;
  const text = seen > 0 ? `+${seen}` : seen < 0 ? `-${-seen}` : '0';
  // The winrate, 0.5 at an even value, decides the word for either side.
  const lead = Math.abs(winrate - 0.5);
  const ahead = colourName(winrate > 0.5 ? toMove : other);
  const word = !(lead >= 0.1) ? 'even' : lead >= 0.3 ? `${ahead} is winning` : `${ahead} is better`;
  return { text, word };
}
