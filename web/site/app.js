// The page: loads the C++ (tarvix-web.js), starts the calculator, and runs
// the antenna check: its inputs (check_form.js), Simulate through the engine
// (engine_client.js), and the results (check_results.js). Every number shown
// comes from the C++ or from nec2c; the page only lays them out.
import { $, el } from "./dom.js";
import { call, state } from "./state.js";
import {
  buildCheckForm, fieldLabel, refresh, restore, setStatus, setTexts, texts,
} from "./check_form.js";
import { showResults } from "./check_results.js";
import { drawPlot } from "./check_plot.js";

const SOLVES_KEY = "tarvix.check.solves";
// The run

function simulate() {
  if (state.run) return;
  const answer = refresh();
  if (answer && answer.stop) {
    showStop(answer.stop);
    return;
  }
  const t = texts();
  const expected = Number(localStorage.getItem(SOLVES_KEY)) || 12;
  const progress = $("progress");
  progress.max = expected;
  progress.value = 0;
  $("simulate").disabled = true;
  $("cancel").disabled = false;
  setStatus("Simulating in nec2c…");
  state.runStartedAt = performance.now();
  let handle = null;
  const finish = () => {
    state.run = null;
    $("simulate").disabled = false;
    $("cancel").disabled = true;
  };
  try {
    handle = TarvixEngine.simulate(t, {
      onProgress(solves) {
        if (state.run !== handle) return;
        if (solves > progress.max) progress.max = solves;
        progress.value = solves;
      },
      onDone(result) {
        if (state.run !== handle) return;
        finish();
        shownDone(result, t);
      },
      onFailed(text) {
        if (state.run !== handle) return;
        finish();
        setStatus("No simulation: " + text, { stop: true });
      },
    });
  } catch (error) {
    finish();
    setStatus("No simulation: " + (error && error.message ? error.message : error), { stop: true });
    return;
  }
  state.run = handle;
}

function showStop(stop) {
  setStatus(`Cannot simulate: ${fieldLabel(stop.field)}: ${stop.text}`, { stop: true });
  const input = $("c-" + stop.field);
  if (input) input.focus();
}

function cancel() {
  if (!state.run) return;
  const handle = state.run;
  state.run = null;
  try { handle.cancel(); } catch (e) { /* stopped already */ }
  $("simulate").disabled = false;
  $("cancel").disabled = true;
  $("progress").value = 0;
  setStatus("Cancelled: the engine was stopped.");
  $("simulate").focus();
}

function shownDone(result, t) {
  const seconds = (performance.now() - state.runStartedAt) / 1000;
  if (result.stop) {
    showStop(result.stop);
    return;
  }
  if (result.error) {
    setStatus("No simulation: " + result.error, { stop: true });
    return;
  }
  state.lastResult = result;
  state.shownTexts = JSON.stringify(t);
  window.tarvixLastRun = { seconds, texts: t };
  const json = result.json || (result.json_text ? JSON.parse(result.json_text) : {});
  const sim = json.simulation || {};
  const solves = (sim.solves || 0) + ((json.trim && json.trim.solves) || 0);
  if (solves) {
    $("progress").max = solves;
    $("progress").value = solves;
    try { localStorage.setItem(SOLVES_KEY, String(solves)); } catch (e) { /* not kept */ }
  }
  showResults(result, json);
  const trimReason = result.trim_error ? "; no trim: " + result.trim_error : "";
  setStatus(`Done in ${solves || "?"} solves (${seconds.toFixed(1)} s)${trimReason}. The build sheet is below.`);
}

// Inputs to a file and back

function saveDesign() {
  const blob = new Blob([JSON.stringify({ tarvix_check_inputs: texts() }, null, 2)], { type: "application/json" });
  const a = el("a", { href: URL.createObjectURL(blob), download: "tarvix-inputs.json" });
  document.body.append(a);
  a.click();
  setTimeout(() => { URL.revokeObjectURL(a.href); a.remove(); }, 1000);
  setStatus("Inputs saved as tarvix-inputs.json.");
}

function openDesign(file) {
  file.text().then((text) => {
    const kept = JSON.parse(text);
    const t = kept && kept.tarvix_check_inputs;
    if (!t || typeof t !== "object") throw new Error("not a file of Tarvix check inputs");
    setTexts(t);
    refresh();
    setStatus(`Inputs opened from ${file.name}.`);
  }).catch((error) => setStatus(`Could not open ${file.name}: ${error.message}`, { stop: true }));
}

// The two pages, one shown at a time, chosen by the address.

function route() {
  const shown = location.hash === "#check" ? "check" : "calculator";
  $("calculator").hidden = shown !== "calculator";
  $("check").hidden = shown !== "check";
  $("nav-calculator").toggleAttribute("aria-current", false);
  $("nav-check").toggleAttribute("aria-current", false);
  $("nav-" + shown).setAttribute("aria-current", "page");
  window.scrollTo(0, 0);
  if (shown === "calculator") TarvixCalculator.fit();
  if (shown === "check" && state.lastResult) drawPlot(state.lastResult, state.lastResult.json || JSON.parse(state.lastResult.json_text || "{}"));
  return shown;
}

async function start() {
  window.addEventListener("hashchange", () => {
    route();
    $("main").focus({ preventScroll: true });
  });
  route();
  registerServiceWorker();
  try {
    if (typeof createTarvix !== "function") throw new Error("tarvix-web.js did not load");
    state.M = await createTarvix();
    state.choices = call("tarvix_choices", {});
  } catch (error) {
    $("loading").textContent = "The calculations could not be loaded: " + (error && error.message ? error.message : error);
    return;
  }
  buildCheckForm();
  restore();
  $("check-form").addEventListener("submit", (event) => { event.preventDefault(); simulate(); });
  $("cancel").addEventListener("click", cancel);
  $("print-sheet").addEventListener("click", () => window.print());
  $("save-design").addEventListener("click", saveDesign);
  $("open-design").addEventListener("change", (event) => {
    const file = event.target.files && event.target.files[0];
    if (file) openDesign(file);
    event.target.value = "";
  });
  let resizeTimer = 0;
  window.addEventListener("resize", () => {
    clearTimeout(resizeTimer);
    resizeTimer = setTimeout(() => {
      if (state.lastResult && !$("check").hidden) drawPlot(state.lastResult, state.lastResult.json || JSON.parse(state.lastResult.json_text || "{}"));
    }, 150);
  });
  refresh();
  // The engine's worker loads while the inputs are typed.
  if (typeof TarvixEngine !== "undefined" && typeof TarvixEngine.preload === "function") TarvixEngine.preload();
  TarvixCalculator.start(call);
  route();
  $("loading").hidden = true;
  document.documentElement.dataset.ready = "true";
}

function registerServiceWorker() {
  if (!("serviceWorker" in navigator) || !/^https?:$/.test(location.protocol)) return;
  navigator.serviceWorker.register("sw.js").catch(() => { /* online only, then */ });
}

// For the page's own tests and for a curious user in the console.
window.TarvixApp = {
  lastResult: () => state.lastResult,
  texts: () => texts(),
};

// A module runs once the document is parsed.
start();
