// The game record beside the board: one button a move (and one for the empty
// board) that jumps there; the moves after the current one stay listed, dimmed,
// until another move replaces them.
import { BLACK, pointName } from './position.js';

export class MoveList {
  constructor(list, onJump) {
    this.list = list;
    list.addEventListener('click', (event) => {
      const button = event.target.closest('button');
      if (button) onJump(Number(button.dataset.index));
    });
  }

  draw(record, colourOf, disabled) {
    const entries = [{ text: 'Start', index: 0 }];
    record.line.forEach(({ x, y }, i) => entries.push({
      text: `${i + 1}. ${pointName(x, y)}`, index: i + 1, colour: colourOf(i) === BLACK ? 'black' : 'white',
    }));
    this.list.replaceChildren(...entries.map(({ text, index, colour }) => {
      const item = document.createElement('li');
      const button = item.appendChild(document.createElement('button'));
      button.textContent = text;
      button.dataset.index = index;
      button.disabled = disabled;
      if (colour) button.classList.add(colour);
      if (index > record.cursor) button.classList.add('later');
      if (index === record.cursor) button.setAttribute('aria-current', 'step');
      return item;
    }));
    // The list is positioned, so an entry's offset is within it.
    const current = this.list.children[record.cursor];
    const top = current.offsetTop;
    if (top < this.list.scrollTop || top + current.offsetHeight > this.list.scrollTop + this.list.clientHeight) {
      this.list.scrollTop = top - this.list.clientHeight / 2;
    }
  }
}
