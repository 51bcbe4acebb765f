// nec2c in the worker: a new instance of the compiled engine for every deck
// (it keeps its state in globals and ends by exit, as a program does), from
// one compiled module. The deck and the listing stay in the instance's
// memory file system; what the engine prints to its output streams is kept
// as its messages, as the desktop keeps them in a file.
/* exported tarvixNecRunner */
function tarvixNecRunner(createNec2c, compiledEngine) {
  return function runNec2c(deck) {
    let messages = '';
    const keep = (line) => { messages += line + '\n'; };
    let exitCode = 0;
    const engine = {
      noInitialRun: true,
      print: keep,
      printErr: keep,
      // exit() must not return into the engine: the thrown status unwinds it.
      quit: (status, toThrow) => { exitCode = status; throw toThrow; },
      onExit: (status) => { exitCode = status; },
      instantiateWasm(imports, receive) {
        const instance = new WebAssembly.Instance(compiledEngine, imports);
        receive(instance);
        return instance.exports;
      },
    };
    createNec2c(engine);
    engine.FS.writeFile('/deck.nec', deck);
    try {
      const status = engine.callMain(['-i', '/deck.nec', '-o', '/deck.out']);
      if (typeof status === 'number') {
        exitCode = status;
      }
    } catch (error) {
      if (!(error && error.name === 'ExitStatus')) {
        throw error;
      }
      exitCode = error.status;
    }
    let listing = '';
    try {
      listing = engine.FS.readFile('/deck.out', { encoding: 'utf8' });
    } catch (missing) {
      listing = '';
    }
    return { exitCode, messages, listing };
  };
}

if (typeof module !== 'undefined') {
  module.exports = { tarvixNecRunner };
}
