// The plot: SWR (logarithmic, 1 to 10) and reactance against frequency,
// the corrected coils solid and the formula's dashed, F marked, drawn from
// the points of the simulation's sweep.

import { $, el, shown } from "./dom.js";

function sweepOf(result) {
  if (!result.sweep) return null;
  const points = (list) => list.map((p) => ({ f: p.freq_MHz, r: p.r_ohm, x: p.x_ohm, swr: p.swr }));
  return { corrected: points(result.sweep.corrected), formula: points(result.sweep.formula) };
}

function ticks(low, high, count) {
  const span = high - low;
  if (!(span > 0)) return [low];
  const raw = span / count;
  const step0 = Math.pow(10, Math.floor(Math.log10(raw)));
  const step = [1, 2, 2.5, 5, 10].map((k) => k * step0).find((s) => span / s <= count) || step0 * 10;
  const out = [];
  for (let v = Math.ceil(low / step) * step; v <= high + step * 1e-9; v += step) out.push(+v.toPrecision(12));
  return out;
}

export function drawPlot(result, json) {
  const holder = $("plot");
  holder.textContent = "";
  const sweep = sweepOf(result);
  const sim = json.simulation || {};
  const freq = json.inputs ? json.inputs.freq_MHz : null;
  if (!sweep || !sweep.corrected.length) {
    holder.append(el("p", { text: "No plot: the result carries no sweep." }));
    $("plot-caption").textContent = "";
    return;
  }
  const width = Math.max(300, Math.min(900, holder.clientWidth || 600));
  const narrow = width < 480;
  const left = narrow ? 44 : 56;
  const right = 12;
  const panelH = narrow ? 150 : 190;
  const gap = 34;
  const top = 26;
  const height = top + panelH * 2 + gap + 46;
  const all = sweep.corrected.concat(sweep.formula);
  const fLow = Math.min(...all.map((p) => p.f));
  const fHigh = Math.max(...all.map((p) => p.f));
  const xs = (f) => left + ((f - fLow) / (fHigh - fLow || 1)) * (width - left - right);
  const swrTop = top;
  const swrY = (s) => swrTop + panelH - (Math.log10(Math.min(Math.max(s, 1), 10)) / 1) * panelH;
  const xTop = top + panelH + gap;
  const xValues = all.map((p) => p.x).filter(Number.isFinite);
  let xMin = Math.min(0, ...xValues);
  let xMax = Math.max(0, ...xValues);
  if (xMax - xMin < 1) { xMin -= 1; xMax += 1; }
  const xY = (x) => xTop + panelH - ((x - xMin) / (xMax - xMin)) * panelH;

  const NS = "http://www.w3.org/2000/svg";
  const svg = document.createElementNS(NS, "svg");
  svg.setAttribute("viewBox", `0 0 ${width} ${height}`);
  svg.setAttribute("width", width);
  svg.setAttribute("height", height);
  svg.setAttribute("role", "img");
  const title = document.createElementNS(NS, "title");
  title.textContent = "SWR and reactance against frequency";
  svg.append(title);
  const add = (tag, attrs, text) => {
    const node = document.createElementNS(NS, tag);
    for (const [k, v] of Object.entries(attrs)) node.setAttribute(k, v);
    if (text !== undefined) node.textContent = text;
    svg.append(node);
    return node;
  };
  const fTicks = ticks(fLow, fHigh, narrow ? 4 : 7);
  const band = sim.swr2_band_MHz;
  if (band) {
    const lo = band.low != null ? band.low : fLow;
    const hi = band.high != null ? band.high : fHigh;
    add("rect", { class: "band", x: xs(lo), y: swrTop, width: Math.max(0, xs(hi) - xs(lo)), height: panelH });
  }
  for (const [y0, label] of [[swrTop, `SWR on ${shown(sim.z0_ohm != null ? sim.z0_ohm : 50, 0)} ohm`], [xTop, "Reactance, ohm"]]) {
    add("text", { x: left, y: y0 - 8 }, label);
    for (const f of fTicks) add("line", { class: "grid", x1: xs(f), x2: xs(f), y1: y0, y2: y0 + panelH });
    add("rect", { class: "axis", x: left, y: y0, width: width - left - right, height: panelH, fill: "none" });
  }
  for (const s of [1, 1.5, 2, 3, 5, 10]) {
    add("line", { class: s === 2 ? "zero" : "grid", x1: left, x2: width - right, y1: swrY(s), y2: swrY(s) });
    add("text", { x: left - 6, y: swrY(s) + 4, "text-anchor": "end" }, String(s));
  }
  for (const x of ticks(xMin, xMax, 4)) {
    add("line", { class: x === 0 ? "zero" : "grid", x1: left, x2: width - right, y1: xY(x), y2: xY(x) });
    add("text", { x: left - 6, y: xY(x) + 4, "text-anchor": "end" }, String(x));
  }
  for (const f of fTicks) {
    add("text", { x: xs(f), y: xTop + panelH + 16, "text-anchor": "middle" }, String(f));
  }
  add("text", { x: left + (width - left - right) / 2, y: xTop + panelH + 34, "text-anchor": "middle" }, "Frequency, MHz");
  const path = (points, key, y, cls) => {
    const d = points.filter((p) => Number.isFinite(p[key]))
      .map((p, i) => `${i ? "L" : "M"}${xs(p.f).toFixed(1)},${y(p[key]).toFixed(1)}`).join("");
    if (d) add("path", { class: cls, d });
  };
  path(sweep.formula, "swr", swrY, "formula");
  path(sweep.formula, "x", xY, "formula");
  path(sweep.corrected, "swr", swrY, "corrected");
  path(sweep.corrected, "x", xY, "corrected");
  if (Number.isFinite(freq) && freq >= fLow && freq <= fHigh) {
    add("line", { class: "mark-f", x1: xs(freq), x2: xs(freq), y1: swrTop, y2: xTop + panelH });
    add("text", { x: xs(freq) + 4, y: swrTop + 14, fill: "#b00020" }, "F");
  }
  holder.append(svg);
  readout(svg, sweep.corrected, xs, swrTop, xTop + panelH, sim.z0_ohm);
  const resonance = sim.corrected && sim.corrected.resonance_MHz;
  const formulaResonance = sim.formula && sim.formula.resonance_MHz;
  const captionBits = [`Solid: the corrected coils${resonance != null ? ` (resonance ${shown(resonance, 4)} MHz)` : ""}`];
  if (sweep.formula.length) captionBits.push(`dashed: the formula's coils${formulaResonance != null ? ` (${shown(formulaResonance, 4)} MHz)` : ""}`);
  captionBits.push(`F = ${shown(freq, 4)} MHz, red line`);
  if (band) captionBits.push("shaded: the 2:1 SWR band");
  $("plot-caption").textContent = captionBits.join("; ") + ".";
}

// The corrected antenna's point nearest the pointer (or stepped to with
// the arrow keys), read out below the plot as the window does.
function readout(svg, points, xs, y0, y1, z0) {
  const NS = "http://www.w3.org/2000/svg";
  const line = document.createElementNS(NS, "line");
  line.setAttribute("class", "cursor");
  line.setAttribute("y1", y0);
  line.setAttribute("y2", y1);
  line.setAttribute("visibility", "hidden");
  svg.append(line);
  svg.setAttribute("tabindex", "0");
  svg.setAttribute("aria-describedby", "plot-readout");
  const out = $("plot-readout");
  out.textContent = "Point at the plot, or focus it and use the arrow keys, to read the sweep.";
  let at = -1;
  const show = (i) => {
    at = Math.max(0, Math.min(points.length - 1, i));
    const p = points[at];
    line.setAttribute("x1", xs(p.f));
    line.setAttribute("x2", xs(p.f));
    line.setAttribute("visibility", "visible");
    const sign = p.x < 0 ? "-" : "+";
    out.textContent = `${p.f.toFixed(4)} MHz: SWR ${Number.isFinite(p.swr) ? p.swr.toFixed(2) : "—"}` +
      (z0 != null ? ` on ${z0} ohm` : "") +
      (Number.isFinite(p.r) ? `, ${p.r.toFixed(1)} ${sign}j${Math.abs(p.x).toFixed(1)} ohm` : "");
  };
  const nearest = (clientX) => {
    const box = svg.getBoundingClientRect();
    const x = ((clientX - box.left) / box.width) * svg.viewBox.baseVal.width;
    let best = 0;
    points.forEach((p, i) => { if (Math.abs(xs(p.f) - x) < Math.abs(xs(points[best].f) - x)) best = i; });
    return best;
  };
  svg.addEventListener("pointermove", (e) => show(nearest(e.clientX)));
  svg.addEventListener("pointerdown", (e) => show(nearest(e.clientX)));
  svg.addEventListener("keydown", (e) => {
    const step = { ArrowRight: 1, ArrowLeft: -1, PageUp: 10, PageDown: -10 }[e.key];
    if (step) { e.preventDefault(); show(at < 0 ? 0 : at + step); }
    else if (e.key === "Home") { e.preventDefault(); show(0); }
    else if (e.key === "End") { e.preventDefault(); show(points.length - 1); }
  });
}
