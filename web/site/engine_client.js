// The page's side of the simulation: one worker at a time, kept loaded
// between runs. Cancel and a deck past its time limit end the worker at
// once, as the desktop kills its nec2c, and a fresh one is started for the
// next run.
/* exported TarvixEngine */
const TarvixEngine = (() => {
  let worker = null;

  function fresh() {
    worker = new Worker('worker.js');
  }

  function stopWorker() {
    if (worker) {
      worker.terminate();
    }
    fresh();
  }

  // handlers: onProgress(solves), onDone(result), onFailed(text). The result
  // is the module's answer, with the JSON report parsed as "json".
  function simulate(texts, handlers) {
    if (!worker) {
      fresh();
    }
    let finished = false;
    let timer = null;
    const running = worker;
    const finish = () => {
      finished = true;
      clearTimeout(timer);
      running.onmessage = null;
      running.onerror = null;
    };
    running.onmessage = (event) => {
      const message = event.data;
      if (message.type === 'solving') {
        clearTimeout(timer);
        timer = setTimeout(() => {
          finish();
          stopWorker();
          handlers.onDone({ stop: null, error: message.timeoutText, notes: [] });
        }, message.limitMs);
        if (handlers.onProgress) {
          handlers.onProgress(message.solves);
        }
      } else if (message.type === 'done') {
        finish();
        const result = message.result;
        result.json = result.json_text ? JSON.parse(result.json_text) : null;
        handlers.onDone(result);
      } else if (message.type === 'failed') {
        finish();
        stopWorker();
        handlers.onFailed(message.error);
      }
    };
    running.onerror = (event) => {
      finish();
      stopWorker();
      handlers.onFailed(event.message || 'the simulation stopped');
    };
    const request = TarvixEngine.timeLimitMs ? { ...texts, time_limit_ms: TarvixEngine.timeLimitMs } : texts;
    running.postMessage({ type: 'simulate', texts: request });
    return {
      cancel() {
        if (!finished) {
          finish();
          stopWorker();
        }
      },
    };
  }

  // timeLimitMs: every deck's limit instead of its own (for tests), as the
  // desktop's engine takes one.
  return { simulate, preload: () => { if (!worker) fresh(); }, timeLimitMs: null };
})();
