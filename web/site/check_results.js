// The results: the build sheet first (its sentences, then a table of what to
// expect), the plot, the trim, the whole report, and the files to keep.
import { $, el, shown } from "./dom.js";
import { drawPlot } from "./check_plot.js";
import { markStale, texts } from "./check_form.js";

// The report's pieces: the build sheet (first, until a blank line), the
// rest, and the trim (from "Trim for").
function reportPieces(report) {
  const text = report || "";
  let sheet = "";
  let rest = text;
  if (/^Build sheet/.test(text)) {
    const end = text.indexOf("\n\n");
    sheet = end < 0 ? text : text.slice(0, end);
    rest = end < 0 ? "" : text.slice(end + 2);
  }
  const trimAt = text.search(/^Trim for /m);
  let trim = "";
  if (trimAt >= 0) {
    trim = text.slice(trimAt);
    const end = trim.indexOf("\n\n");
    if (end >= 0) trim = trim.slice(0, end);
  }
  return { sheet, rest, trim };
}

// Lines as a list, the indented ones under the line before them, and a
// run of numbered lines ("1. Shorten ...") as a numbered list of its own.
function linesList(text, className) {
  const lines = text.split("\n").filter((l) => l.trim());
  const list = el("ul", { class: className });
  let last = null;
  let numbered = null;
  for (const line of lines) {
    const number = /^(\d+)\.\s+(.*)$/.exec(line);
    if (/^\s+/.test(line) && last) {
      let sub = last.querySelector("ul");
      if (!sub) { sub = el("ul"); last.append(sub); }
      sub.append(el("li", { text: line.trim() }));
    } else if (number && last) {
      if (!numbered) {
        numbered = el("ol", { start: Number(number[1]) });
        last.append(numbered);
      }
      numbered.append(el("li", { text: number[2] }));
    } else {
      numbered = null;
      last = el("li", { text: line });
      list.append(last);
    }
  }
  return list;
}


// A key's value and unit, whichever system of units the report is in.
function measure(object, stem) {
  if (!object) return null;
  const units = [["ft", 3], ["m", 3], ["in", 2], ["mm", 1]];
  for (const [unit, digits] of units) {
    const key = `${stem}_${unit}`;
    if (key in object) return { text: shown(object[key], digits), unit };
  }
  return null;
}

function sheetTable(sheet) {
  const table = el("table", { class: "numbers" });
  table.append(el("caption", { text: "What to expect" }));
  const body = el("tbody");
  const group = (title) => body.append(el("tr", {}, el("th", { scope: "rowgroup", colSpan: 2, text: title })));
  const row = (label, value) => {
    if (value === null) return;
    body.append(el("tr", {}, el("th", { scope: "row", text: label }), el("td", { text: value })));
  };
  const m = (object, stem) => {
    const found = measure(object, stem);
    return found ? `${found.text} ${found.unit}` : null;
  };
  // The lengths to cut are the sentences' own, rounded for the saw; the
  // table keeps to what needs no rounding, so that the two never differ.
  const c = sheet.coil || {};
  group("Each of the 2 coils");
  row("Turns", c.turns !== undefined ? String(c.turns) : null);
  row("Coil length", m(c, "length"));
  const e = sheet.expect || {};
  group("Expect");
  row("Resonance", e.resonance_MHz != null ? `${shown(e.resonance_MHz, 4)} MHz` : "—");
  if (e.swr2_band_MHz) {
    row("2:1 SWR band", `${shown(e.swr2_band_MHz.low, 4)} – ${shown(e.swr2_band_MHz.high, 4)} MHz`);
  }
  row("SWR at F", e.swr != null ? shown(e.swr, 2) : "—");
  row("Radiation efficiency", e.efficiency_percent != null ? `${shown(e.efficiency_percent, 1)} %` : "—");
  const b = sheet.bench;
  if (b) {
    group(`Bench check (analyzer across a coil at ${b.at_MHz} MHz)`);
    row("R", `${shown(b.r_ohm, 1)} ohm`);
    row("X", `${shown(b.x_ohm, 1)} ohm`);
  }
  table.append(body);
  return table;
}

export function showResults(result, json) {
  $("results").hidden = false;
  const pieces = reportPieces(result.report);
  const sheetBody = $("sheet-body");
  sheetBody.textContent = "";
  const sheet = json.build_sheet;
  if (pieces.sheet) {
    const [head, ...lines] = pieces.sheet.split("\n");
    sheetBody.append(el("p", { class: "sheet-head", text: head }), linesList(lines.join("\n"), "sheet-lines"));
  }
  if (sheet) sheetBody.append(sheetTable(sheet));
  if (!pieces.sheet && !sheet) {
    sheetBody.append(el("p", { text: "No build sheet: this design has no winding to build (give the former's diameter)." }));
  }
  $("print-sheet").disabled = !sheet && !pieces.sheet;

  drawPlot(result, json);

  const trimCard = $("trim-card");
  trimCard.hidden = !pieces.trim;
  $("trim-body").textContent = "";
  if (pieces.trim) {
    const [head, ...lines] = pieces.trim.split("\n");
    $("trim-body").append(el("p", { class: "sheet-head", text: head }), linesList(lines.join("\n"), "trim-lines"));
  }

  $("report").textContent = result.report || "";
  setDownload("dl-report", result.report || "", "text/plain");
  setDownload("dl-json", result.json_text || JSON.stringify(json, null, 2), "application/json");
  setDownload("dl-deck", result.deck || "", "text/plain");
  const page = sheetPage(pieces.sheet, sheet);
  setDownload("dl-sheet", page, "text/html");
  setDownload("dl-sheet2", page, "text/html");
  markStale(texts());
}

const urls = new Map();
function setDownload(id, text, type) {
  if (urls.has(id)) URL.revokeObjectURL(urls.get(id));
  const url = URL.createObjectURL(new Blob([text], { type: type + ";charset=utf-8" }));
  urls.set(id, url);
  $(id).href = url;
}

const escapeHtml = (s) => String(s).replace(/[&<>"]/g, (c) => ({ "&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;" }[c]));

// The build sheet as a page of its own, to print or keep.
function sheetPage(sheetText, sheet) {
  const table = sheet ? sheetTable(sheet).outerHTML : "";
  const lines = sheetText ? linesList(sheetText.split("\n").slice(1).join("\n"), "sheet-lines").outerHTML : "";
  const head = sheetText ? escapeHtml(sheetText.split("\n")[0]) : "Build sheet";
  return `<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><meta name="viewport" content="width=device-width, initial-scale=1">
<title>Tarvix build sheet</title>
<style>
body{font:15px/1.45 system-ui,"Liberation Sans",Arial,sans-serif;color:#111;max-width:46rem;margin:1.5rem auto;padding:0 1rem}
h1{font-size:1.3rem;margin:0 0 .6rem}p.head{font-weight:600}li{margin:.25rem 0}
table{border-collapse:collapse;font-family:"DejaVu Sans Mono","Liberation Mono",monospace;font-size:.9rem;width:100%;margin-top:1rem}
caption{text-align:left;font-weight:600;padding:.3rem 0;font-family:inherit}
th,td{padding:.2rem .5rem;border-bottom:1px solid #ccc;text-align:left;vertical-align:top}td{text-align:right}
th[scope=rowgroup]{padding-top:.7rem}
.check{margin-top:1.5rem;font-size:.9rem;color:#444}
@media print{body{margin:0;max-width:none;font-size:11pt}}
</style></head><body>
<h1>Tarvix build sheet</h1>
<p class="head">${head}</p>
${lines}
${table}
<p class="check">Made by Tarvix (nec2c simulation). Tick each piece as it is cut and each coil as it is wound.</p>
</body></html>
`;
}
