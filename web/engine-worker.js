// Runs the engine off the page's thread: each message is a list of protocol
// lines, each answered with every line the engine wrote for them.
importScripts('engine/zomar.js');

const ready = createZomar({ locateFile: (file) => 'engine/' + file });

self.onmessage = async ({ data }) => {
  const engine = await ready;
  let answer = '';
  for (const line of data.lines) {
    answer += engine.ccall('zomar_command', 'string', ['string'], [line]);
  }
  self.postMessage({ id: data.id, answer });
};
