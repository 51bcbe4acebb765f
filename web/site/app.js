// The page: loads the C++ (tarvix-web.js), starts the calculator, and runs
// the antenna check: its inputs with the notes the C++ writes beside them,
// Simulate through the engine (engine_client.js), and the results: the build
// sheet first, the plot drawn from the simulation's own sweep, the trim, the
// full report and the files to keep. Every number shown comes from the C++
// or from nec2c; this file only lays them out.
"use strict";

const TarvixApp = (() => {
  let M = null;
  let choices = null;
  let lastResult = null; // the result shown
  let shownTexts = null; // the inputs it was made from, as JSON
  let run = null; // the run under way
  let runStartedAt = 0;
  const STORE_KEY = "tarvix.check.inputs";
  const SOLVES_KEY = "tarvix.check.solves";

  const $ = (id) => document.getElementById(id);

  function call(name, arg) {
    const answer = JSON.parse(M.ccall(name, "string", ["string"], [JSON.stringify(arg)]));
    if (answer && answer.request_error) throw new Error(`${name}: ${answer.request_error}`);
    return answer;
  }

  // ------------------------------------------------------------------
  // The check's inputs, as the check window lays them out: its groups, its
  // captions and its order.

  const antennaUnit = () => (unitsMetric() ? "m" : "ft");
  const coilUnit = () => (unitsMetric() ? "mm" : "in");
  const unitsMetric = () => $("c-units") && $("c-units").value === "metric";
  const wireBy = (id) => ($(id) ? $(id).value : "swg");

  // Each box: its field (the name notes use), its key in the texts, caption
  // and unit.
  const FIELDS = {
    Freq: { key: "freq", label: "Frequency F", unit: () => "MHz" },
    TotalLength: { key: "totalLength", label: "Total length A, tip to tip", unit: antennaUnit },
    CentreToCoil: { key: "centreToCoil", label: "Feed point to each coil B", unit: antennaUnit },
    AntennaWire: { key: "antennaWire", label: "Antenna wire", unit: () => (wireBy("c-antennaWireBy") === "diameter" ? coilUnit() : ""), list: "antenna-gauges" },
    Height: { key: "height", label: "Feed point height", unit: antennaUnit },
    EndHeight: { key: "endHeight", label: "Tips' height (inverted V; empty: level)", unit: antennaUnit },
    Insulation: { key: "insulation", label: "Insulation thickness", unit: coilUnit },
    Permittivity: { key: "permittivity", label: "Relative permittivity", unit: () => "" },
    FormerDia: { key: "formerDia", label: "Former diameter", unit: coilUnit },
    CoilWire: { key: "coilWire", label: "Coil wire", unit: () => (wireBy("c-coilWireBy") === "diameter" ? coilUnit() : ""), list: "coil-gauges" },
    Pitch: { key: "pitch", label: "Pitch", unit: coilUnit },
    CoilLength: { key: "coilLength", label: "First coil length (optional)", unit: coilUnit },
    GivenTurns: { key: "givenTurns", label: "Turns already wound (optional)", unit: () => "" },
    Q: { key: "q", label: "Q of each coil", unit: () => "" },
    Z0: { key: "z0", label: "SWR reference impedance Z0", unit: () => "ohm" },
    FeedLineLength: { key: "feedLineLength", label: "Feed line length", unit: antennaUnit },
    Power: { key: "power", label: "Transmitter power", unit: () => "W" },
    Measured: { key: "measured", label: "Resonance measured (optional)", unit: () => "MHz" },
    MeasuredSwr: { key: "measuredSwr", label: "SWR there (optional)", unit: () => "" },
    MeasuredR: { key: "measuredR", label: "Resistance there (optional)", unit: () => "ohm" },
  };
  const SPOKEN = { ft: "feet", in: "inches", m: "metres", mm: "millimetres", ohm: "ohms", MHz: "MHz", W: "watts" };

  // The window's own starting values.
  const DEFAULTS = {
    freq: "7", totalLength: "60", centreToCoil: "20", antennaWire: "14", height: "30", endHeight: "",
    insulation: "0.03", permittivity: "3.5", formerDia: "1.5", coilWire: "20", pitch: "", coilLength: "",
    givenTurns: "", q: "200", z0: "50", feedLineLength: "", power: "100", measured: "", measuredSwr: "",
    measuredR: "", overGround: false, groundClass: 1, insulated: false, former: "pvc", closeWound: true,
    qGiven: false, feedLineType: 0, mode: 1, units: "imperial",
  };

  const WIRE_BY = [["swg", "SWG"], ["awg", "AWG"], ["diameter", "Diameter"]];

  // The check's groups, each a list of rows.
  function layout() {
    const groundOptions = choices.ground_classes.map((g, i) => [String(i), capitalised(g.label)]);
    const feedOptions = [["0", "None: read at the feed point"]].concat(
      choices.feedline_types.map((t, i) => [String(i + 1), t.label]));
    const modeOptions = choices.modes.map((m, i) => [String(i), modeLabel(m)]);
    const formerOptions = choices.formers.map((f) => [f.name, f.label]);
    return [
      ["Antenna", [
        ["field", "Freq"], ["field", "TotalLength"], ["field", "CentreToCoil"],
        ["list", "antennaWireBy", "Antenna wire given by", WIRE_BY], ["field", "AntennaWire"]]],
      ["Where it hangs", [
        ["choice", "hangs", [["free", "Free space"], ["ground", "Over the ground"]]],
        ["list", "ground", "Kind of ground", groundOptions],
        ["field", "Height"], ["field", "EndHeight"],
        ["check", "insulated", "Insulated wire"],
        ["field", "Insulation"], ["field", "Permittivity"]]],
      ["Coil", [
        ["field", "FormerDia"], ["list", "former", "Wound on", formerOptions],
        ["list", "coilWireBy", "Coil wire given by", WIRE_BY], ["field", "CoilWire"],
        ["choice", "winding", [["close", "Close-wound"], ["pitch", "At a pitch"]]],
        ["field", "Pitch"], ["field", "CoilLength"], ["field", "GivenTurns"],
        ["choice", "qFrom", [["winding", "Q as wound"], ["given", "Q given"]]],
        ["field", "Q"]]],
      ["Feed line, transmitter and units", [
        ["field", "Z0"], ["list", "feedLine", "Feed line to the rig", feedOptions],
        ["field", "FeedLineLength"], ["field", "Power"],
        ["list", "mode", "Mode", modeOptions],
        ["list", "units", "Units", [["imperial", "Feet and inches"], ["metric", "Metres and millimetres"]]]]],
      ["Measured resonance", [
        ["field", "Measured"], ["field", "MeasuredSwr"], ["field", "MeasuredR"]]],
    ];
  }

  const capitalised = (text) => (text ? text[0].toUpperCase() + text.slice(1) : text);

  function modeLabel(mode) {
    const label = mode.label || mode.name;
    return /%/.test(label) ? label : `${label} (on ${mode.duty_percent} % of the time)`;
  }

  function el(tag, props = {}, ...children) {
    const node = document.createElement(tag);
    for (const [k, v] of Object.entries(props)) {
      if (k === "class") node.className = v;
      else if (k === "text") node.textContent = v;
      else if (k.startsWith("aria-") || k === "role" || k === "for" || k === "list") node.setAttribute(k, v);
      else node[k] = v;
    }
    for (const child of children) if (child != null) node.append(child);
    return node;
  }

  function buildCheckForm() {
    const groups = $("check-groups");
    groups.textContent = "";
    // The gauges offered as the wire is typed.
    for (const [id, items] of [["antenna-gauges", choices.swg], ["coil-gauges", choices.swg]]) {
      const list = el("datalist", { id });
      for (const item of items) list.append(el("option", { value: item }));
      groups.append(list);
    }
    for (const [title, rows] of layout()) {
      const fieldset = el("fieldset", { class: "group" }, el("legend", { text: title }));
      for (const row of rows) fieldset.append(buildRow(row));
      groups.append(fieldset);
    }
    if (choices.insulation_hint) $("c-Insulation").dataset.hint = choices.insulation_hint;
  }

  function buildRow(row) {
    const [kind] = row;
    if (kind === "field") {
      const field = row[1];
      const f = FIELDS[field];
      const id = "c-" + field;
      const input = el("input", {
        type: "text", id, name: f.key, spellcheck: false, autocomplete: "off",
        inputMode: field === "AntennaWire" || field === "CoilWire" ? "text" : "decimal",
        "aria-describedby": `${id}-unit ${id}-note`,
      });
      if (f.list) input.setAttribute("list", f.list);
      input.addEventListener("input", refresh);
      return el("div", { class: "row", id: id + "-row" },
        el("label", { for: id, text: f.label }),
        el("span", { class: "entry" }, input, el("span", { class: "unit", id: id + "-unit" })),
        el("span", { class: "note", id: id + "-note" }));
    }
    if (kind === "list") {
      const [, name, label, options] = row;
      const id = "c-" + name;
      const select = el("select", { id, name });
      for (const [value, text] of options) select.append(el("option", { value, text }));
      select.dataset.shown = select.value;
      select.addEventListener("change", () => {
        const was = select.dataset.shown;
        if (name === "units") convertUnits(was, select.value);
        if (name === "antennaWireBy" || name === "coilWireBy") {
          convertWire(name, was, select.value);
          wireListFor(name);
        }
        select.dataset.shown = select.value;
        refresh();
      });
      return el("div", { class: "row list", id: id + "-row" },
        el("label", { for: id, text: label }), el("span", { class: "entry" }, select));
    }
    if (kind === "choice") {
      const [, name, options] = row;
      const box = el("div", { class: "choice", role: "radiogroup", "aria-label": options.map((o) => o[1]).join(" or ") });
      options.forEach(([value, text], i) => {
        const id = `c-${name}-${value}`;
        const radio = el("input", { type: "radio", id, name, value, checked: i === 0 });
        radio.addEventListener("change", refresh);
        box.append(el("label", { for: id }, radio, document.createTextNode(text)));
      });
      return box;
    }
    // A check box of its own.
    const [, name, label] = row;
    const id = "c-" + name;
    const input = el("input", { type: "checkbox", id, name });
    input.addEventListener("change", refresh);
    return el("div", { class: "check" }, el("label", { for: id }, input, document.createTextNode(label)));
  }

  // The lengths typed, rewritten in the units chosen, as the check window
  // rewrites its boxes.
  function convertUnits(from, to) {
    const typed = texts();
    typed.units = from;
    setTexts(call("tarvix_convert_units", { texts: typed, to }).texts);
    setStatus("Units changed: the lengths are converted to " +
      (to === "metric" ? "metres and millimetres." : "feet and inches."));
  }

  // A wire's box given another way: a gauge as its diameter, a diameter as
  // its gauge; a diameter no gauge has stays a diameter, and a gauge with no
  // twin in the other table empties the box.
  function convertWire(name, from, to) {
    const field = name === "antennaWireBy" ? "AntennaWire" : "CoilWire";
    const typed = texts();
    typed[FIELDS[field].key].by = from;
    const kinds = { swg: "SWG", awg: "AWG" };
    const box = $("c-" + field);
    const was = box.value;
    const answer = call("tarvix_convert_wire",
      { texts: typed, wire: field === "AntennaWire" ? "antenna" : "coil", to });
    if (answer.result === "converted") {
      box.value = answer.text;
    } else if (answer.result === "kept") {
      $("c-" + name).value = from;
      setStatus(`${FIELDS[field].label}: no ${kinds[to]} gauge is ${was} across; kept as a diameter.`);
    } else if (answer.result === "cleared") {
      box.value = "";
      setStatus(`${FIELDS[field].label}: no ${kinds[to]} gauge matches ${kinds[from]} ${was}; type the ${kinds[to]} gauge.`);
    }
  }

  // The gauges offered follow the table the wire is given by.
  function wireListFor(name) {
    const field = name === "antennaWireBy" ? "AntennaWire" : "CoilWire";
    const list = $(FIELDS[field].list);
    const by = $("c-" + name).value;
    list.textContent = "";
    const items = by === "awg" ? choices.awg : by === "swg" ? choices.swg : [];
    for (const item of items) list.append(el("option", { value: item }));
  }

  const radio = (name) => {
    const checked = document.querySelector(`input[name="${name}"]:checked`);
    return checked ? checked.value : null;
  };

  function decimalSeparator() {
    try {
      const decimal = new Intl.NumberFormat(navigator.language).formatToParts(1.5).find((p) => p.type === "decimal");
      return decimal && decimal.value === "," ? "," : ".";
    } catch (e) {
      return ".";
    }
  }

  // The inputs as typed, as the C++ reads them.
  function texts() {
    const v = (field) => $("c-" + field).value;
    return {
      freq: v("Freq"), totalLength: v("TotalLength"), centreToCoil: v("CentreToCoil"),
      antennaWire: { by: $("c-antennaWireBy").value, text: v("AntennaWire") },
      overGround: radio("hangs") === "ground",
      height: v("Height"), endHeight: v("EndHeight"),
      groundClass: Number($("c-ground").value),
      insulated: $("c-insulated").checked,
      insulation: v("Insulation"), permittivity: v("Permittivity"),
      formerDia: v("FormerDia"), former: $("c-former").value,
      coilWire: { by: $("c-coilWireBy").value, text: v("CoilWire") },
      closeWound: radio("winding") !== "pitch",
      pitch: v("Pitch"), coilLength: v("CoilLength"), givenTurns: v("GivenTurns"),
      qGiven: radio("qFrom") === "given", q: v("Q"), z0: v("Z0"),
      feedLineType: Number($("c-feedLine").value), feedLineLength: v("FeedLineLength"),
      power: v("Power"), mode: Number($("c-mode").value),
      measured: v("Measured"), measuredSwr: v("MeasuredSwr"), measuredR: v("MeasuredR"),
      units: $("c-units").value,
      decimalSeparator: decimalSeparator(),
    };
  }

  function setTexts(t) {
    const set = (field, value) => { if (typeof value === "string") $("c-" + field).value = value; };
    const pick = (id, value) => {
      const select = $(id);
      if (value !== undefined && Array.from(select.options).some((o) => o.value === String(value))) select.value = String(value);
    };
    const check = (name, value) => {
      const r = document.querySelector(`input[name="${name}"][value="${value}"]`);
      if (r) r.checked = true;
    };
    pick("c-units", t.units);
    for (const [field, f] of Object.entries(FIELDS)) {
      const value = t[f.key];
      set(field, value && typeof value === "object" ? value.text : value);
    }
    if (t.antennaWire && typeof t.antennaWire === "object") pick("c-antennaWireBy", t.antennaWire.by);
    if (t.coilWire && typeof t.coilWire === "object") pick("c-coilWireBy", t.coilWire.by);
    if (typeof t.overGround === "boolean") check("hangs", t.overGround ? "ground" : "free");
    pick("c-ground", t.groundClass);
    if (typeof t.insulated === "boolean") $("c-insulated").checked = t.insulated;
    pick("c-former", t.former);
    if (typeof t.closeWound === "boolean") check("winding", t.closeWound ? "close" : "pitch");
    if (typeof t.qGiven === "boolean") check("qFrom", t.qGiven ? "given" : "winding");
    pick("c-feedLine", t.feedLineType);
    pick("c-mode", t.mode);
    wireListFor("antennaWireBy");
    wireListFor("coilWireBy");
    for (const select of document.querySelectorAll("#check select")) select.dataset.shown = select.value;
  }

  // The notes beside the boxes, the units, and which boxes the choices leave
  // unused (shown faded: nothing is disabled).
  let refreshing = false;
  function refresh() {
    if (refreshing) return;
    refreshing = true;
    try {
      const t = texts();
      for (const [field, f] of Object.entries(FIELDS)) {
        const unit = f.unit();
        const place = $(`c-${field}-unit`);
        if (place.dataset.unit !== unit) {
          // Shown short, said in words: "ft" read aloud means nothing.
          place.dataset.unit = unit;
          place.textContent = "";
          if (unit) {
            place.append(el("span", { "aria-hidden": "true", text: unit }),
              el("span", { class: "visually-hidden", text: "in " + (SPOKEN[unit] || unit) }));
          }
        }
      }
      const idle = {
        Height: !t.overGround, EndHeight: !t.overGround, Insulation: !t.insulated,
        Permittivity: !t.insulated, Pitch: t.closeWound, Q: !t.qGiven, FeedLineLength: t.feedLineType === 0,
      };
      for (const field of Object.keys(FIELDS)) $(`c-${field}-row`).classList.toggle("idle", !!idle[field]);
      $("c-ground-row").classList.toggle("idle", !t.overGround);

      const answer = call("tarvix_check_notes", t);
      const byField = new Map();
      for (const note of answer.notes || []) {
        const entry = byField.get(note.field) || { lines: [], stops: false };
        entry.lines.push(note.text);
        entry.stops = entry.stops || !!note.stops;
        byField.set(note.field, entry);
      }
      for (const field of Object.keys(FIELDS)) {
        const note = $(`c-${field}-note`);
        const entry = byField.get(field);
        const input = $("c-" + field);
        if (entry) {
          note.textContent = entry.lines.join("; ");
          note.className = "note " + (entry.stops ? "stop" : "warn");
          input.setAttribute("aria-invalid", entry.stops ? "true" : "false");
        } else {
          const hint = field === "Insulation" && t.insulated ? input.dataset.hint || "" : "";
          note.textContent = hint;
          note.className = "note" + (hint ? " hint" : "");
          input.removeAttribute("aria-invalid");
        }
      }
      markStale(t);
      store(t);
      // A stop shown in the status goes once the inputs no longer have it.
      if (!run && $("status").classList.contains("stop") && !answer.stop) setStatus("");
      return answer;
    } finally {
      refreshing = false;
    }
  }

  function store(t) {
    try { localStorage.setItem(STORE_KEY, JSON.stringify(t)); } catch (e) { /* private mode */ }
  }

  function restore() {
    setTexts(Object.assign({}, DEFAULTS, { insulation: choices.default_insulation_in || DEFAULTS.insulation }));
    try {
      const kept = JSON.parse(localStorage.getItem(STORE_KEY) || "null");
      if (kept && typeof kept === "object") setTexts(kept);
    } catch (e) { /* nothing kept */ }
  }

  function setStatus(text, { stop = false } = {}) {
    const status = $("status");
    status.textContent = text;
    status.classList.toggle("stop", stop);
  }

  function fieldLabel(field) {
    return FIELDS[field] ? FIELDS[field].label : field;
  }

  // ------------------------------------------------------------------
  // The run

  function simulate() {
    if (run) return;
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
    runStartedAt = performance.now();
    let handle = null;
    const finish = () => {
      run = null;
      $("simulate").disabled = false;
      $("cancel").disabled = true;
    };
    try {
      handle = TarvixEngine.simulate(t, {
        onProgress(solves) {
          if (run !== handle) return;
          if (solves > progress.max) progress.max = solves;
          progress.value = solves;
        },
        onDone(result) {
          if (run !== handle) return;
          finish();
          shownDone(result, t);
        },
        onFailed(text) {
          if (run !== handle) return;
          finish();
          setStatus("No simulation: " + text, { stop: true });
        },
      });
    } catch (error) {
      finish();
      setStatus("No simulation: " + (error && error.message ? error.message : error), { stop: true });
      return;
    }
    run = handle;
  }

  function showStop(stop) {
    setStatus(`Cannot simulate: ${fieldLabel(stop.field)}: ${stop.text}`, { stop: true });
    const input = $("c-" + stop.field);
    if (input) input.focus();
  }

  function cancel() {
    if (!run) return;
    const handle = run;
    run = null;
    try { handle.cancel(); } catch (e) { /* stopped already */ }
    $("simulate").disabled = false;
    $("cancel").disabled = true;
    $("progress").value = 0;
    setStatus("Cancelled: the engine was stopped.");
    $("simulate").focus();
  }

  function shownDone(result, t) {
    const seconds = (performance.now() - runStartedAt) / 1000;
    if (result.stop) {
      showStop(result.stop);
      return;
    }
    if (result.error) {
      setStatus("No simulation: " + result.error, { stop: true });
      return;
    }
    lastResult = result;
    shownTexts = JSON.stringify(t);
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

  function markStale(t) {
    if (!lastResult) return;
    const stale = JSON.stringify(t) !== shownTexts;
    $("results").classList.toggle("stale", stale);
    $("stale").hidden = !stale;
  }

  // ------------------------------------------------------------------
  // Results

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

  // A number as shown: the digits a builder reads.
  function shown(value, digits) {
    if (value === null || value === undefined || Number.isNaN(value)) return "—";
    if (typeof value !== "number") return String(value);
    return value.toFixed(digits);
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

  function showResults(result, json) {
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

  // ------------------------------------------------------------------
  // The plot: SWR (logarithmic, 1 to 10) and reactance against frequency,
  // the corrected coils solid and the formula's dashed, F marked, drawn from
  // the points of the simulation's sweep.

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

  function drawPlot(result, json) {
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

  // ------------------------------------------------------------------
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

  // ------------------------------------------------------------------
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
    if (shown === "check" && lastResult) drawPlot(lastResult, lastResult.json || JSON.parse(lastResult.json_text || "{}"));
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
      M = await createTarvix();
      choices = call("tarvix_choices", {});
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
        if (lastResult && !$("check").hidden) drawPlot(lastResult, lastResult.json || JSON.parse(lastResult.json_text || "{}"));
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
  return {
    start,
    lastResult: () => lastResult,
    texts: () => texts(),
  };
})();

document.addEventListener("DOMContentLoaded", () => { TarvixApp.start(); });
