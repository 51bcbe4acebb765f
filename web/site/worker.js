// The simulation's worker: the program's module and nec2c, run here so that
// the page keeps answering while the antenna is solved. The page stops a
// run by ending the worker (Cancel, or a deck past its time limit) and
// starts a new one.
/* global importScripts, createTarvix, createNec2c, tarvixNecRunner */
importScripts('nec_bridge.js', 'nec2c.js', 'tarvix-web.js');

const loaded = (async () => {
  const [engineBytes, programBytes] = await Promise.all(
    ['nec2c.wasm', 'tarvix-web.wasm'].map((name) =>
      fetch(name).then((response) => {
        if (!response.ok) {
          throw new Error(`${name} could not be loaded (${response.status})`);
        }
        return response.arrayBuffer();
      })));
  const compiledEngine = await WebAssembly.compile(engineBytes);
  const program = await createTarvix({ wasmBinary: programBytes });
  const runNec2c = tarvixNecRunner(createNec2c, compiledEngine);
  let solves = 0;
  // Called by the program for every deck: the page hears of it first, with
  // the deck's time limit, and stops the worker when the deck outlives it.
  program.tarvixRunNec2c = (deck, limitMs, timeoutText) => {
    solves += 1;
    postMessage({ type: 'solving', solves, limitMs, timeoutText });
    return runNec2c(deck);
  };
  return {
    simulate(texts) {
      solves = 0;
      return JSON.parse(program.ccall('tarvix_simulate', 'string', ['string'],
        [JSON.stringify(texts)]));
    },
  };
})();

loaded.then(() => postMessage({ type: 'ready' }),
  (error) => postMessage({ type: 'failed', error: String(error && error.message || error) }));

onmessage = async (event) => {
  if (event.data.type !== 'simulate') {
    return;
  }
  try {
    const worker = await loaded;
    postMessage({ type: 'done', result: worker.simulate(event.data.texts) });
  } catch (error) {
    // A fault of the module's own (a trap): this worker is of no more use.
    postMessage({ type: 'failed', error: String(error && error.message || error) });
  }
};
