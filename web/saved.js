// What the page remembers across reloads (settings and the current game), in
// the browser's local storage. A browser that refuses storage just forgets.
const KEY = 'zomar-page';

export function loadSaved() {
  try {
    return JSON.parse(localStorage.getItem(KEY)) ?? null;
  } catch {
    return null;
  }
}

export function save(state) {
  try {
    localStorage.setItem(KEY, JSON.stringify(state));
  } catch {
    // Private windows and full storage: the page works without.
  }
}
