// Runs the engine off the page's thread: each message is a list of protocol
// lines, answered with every line the engine wrote for them; each line is also
// posted as soon as the engine writes it, so that a long think shows its
// progress while it runs.
importScripts('engine/zomar.js');

let current = null;
const ready = createZomar({
  locateFile: (file) => 'engine/' + file,
  onLine: (line) => current !== null && self.postMessage({ id: current, line }),
});

self.onmessage = async ({ data }) => {
  const engine = await ready;
  current = data.id;
  let answer = '';
  for (const line of data.lines) {
    answer += engine.ccall('zomar_command', 'string', ['string'], [line]);
  }
  current = null;
  self.postMessage({ id: data.id, answer });
};
