// The page's side of the engine worker: send protocol lines, await the answer
// lines. One request at a time, as the protocol expects.
export class EngineClient {
  constructor(url = 'engine-worker.js') {
    this.worker = new Worker(url);
    this.pending = new Map();
    this.nextId = 1;
    this.worker.onmessage = ({ data }) => {
      const resolve = this.pending.get(data.id);
      this.pending.delete(data.id);
      resolve(data.answer.split('\n').filter((line) => line.length));
    };
    // A worker that fails (the engine did not load) answers every request with
    // an error line instead of leaving the page waiting.
    this.worker.onerror = (event) => {
      for (const resolve of this.pending.values()) resolve([`ERROR ${event.message || 'The engine failed.'}`]);
      this.pending.clear();
    };
  }

  send(...lines) {
    const id = this.nextId++;
    return new Promise((resolve) => {
      this.pending.set(id, resolve);
      this.worker.postMessage({ id, lines });
    });
  }
}
