// The page's side of the engine worker: send protocol lines, hear each line as
// the engine writes it, await the whole answer. One request at a time, as the
// protocol expects.
export class EngineClient {
  constructor(url = 'engine-worker.js') {
    this.url = url;
    this.pending = new Map();
    this.nextId = 1;
    this.start();
  }

  start() {
    this.worker = new Worker(this.url);
    this.worker.onmessage = ({ data }) => {
      const request = this.pending.get(data.id);
      if (!request) return;
      if (data.line !== undefined) {
        request.onLine(data.line);
        return;
      }
      this.pending.delete(data.id);
      request.resolve(data.answer.split('\n').filter((line) => line.length));
    };
    // A worker that fails (the engine did not load) answers every request with
    // an error line instead of leaving the page waiting.
    this.worker.onerror = (event) => {
      for (const { resolve } of this.pending.values()) resolve([`ERROR ${event.message || 'The engine failed.'}`]);
      this.pending.clear();
    };
  }

  // Resolves to the answer's lines, or to null when dropped by restart().
  send(lines, onLine = () => {}) {
    const id = this.nextId++;
    return new Promise((resolve) => {
      this.pending.set(id, { resolve, onLine });
      this.worker.postMessage({ id, lines });
    });
  }

  // Ends whatever the engine is doing at once. The browser engine has no
  // thread to hear a stop request, so the worker is dropped with its think
  // and a fresh one, which holds no position yet, takes the next request.
  restart() {
    this.worker.terminate();
    for (const { resolve } of this.pending.values()) resolve(null);
    this.pending.clear();
    this.start();
  }
}
