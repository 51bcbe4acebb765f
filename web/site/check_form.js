// The check's inputs as the check window lays them out: its groups, its
// captions, its order and its defaults; the notes the program writes beside
// them; the units and wires converted as the window converts them; and the
// inputs kept for the next visit.
import { $, el } from "./dom.js";
import { call, state } from "./state.js";

const STORE_KEY = "tarvix.check.inputs";

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
  const groundOptions = state.choices.ground_classes.map((g, i) => [String(i), capitalised(g.label)]);
  const feedOptions = [["0", "None: read at the feed point"]].concat(
    state.choices.feedline_types.map((t, i) => [String(i + 1), t.label]));
  const modeOptions = state.choices.modes.map((m, i) => [String(i), modeLabel(m)]);
  const formerOptions = state.choices.formers.map((f) => [f.name, f.label]);
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


export function buildCheckForm() {
  const groups = $("check-groups");
  groups.textContent = "";
  // The gauges offered as the wire is typed.
  for (const [id, items] of [["antenna-gauges", state.choices.swg], ["coil-gauges", state.choices.swg]]) {
    const list = el("datalist", { id });
    for (const item of items) list.append(el("option", { value: item }));
    groups.append(list);
  }
  for (const [title, rows] of layout()) {
    const fieldset = el("fieldset", { class: "group" }, el("legend", { text: title }));
    for (const row of rows) fieldset.append(buildRow(row));
    groups.append(fieldset);
  }
  if (state.choices.insulation_hint) $("c-Insulation").dataset.hint = state.choices.insulation_hint;
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
  const { fields } = call("tarvix_convert_units", { texts: typed, to });
  for (const [field, text] of Object.entries(fields)) $("c-" + field).value = text;
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
  const items = by === "awg" ? state.choices.awg : by === "swg" ? state.choices.swg : [];
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
export function texts() {
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

export function setTexts(t) {
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
export function refresh() {
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
    if (!state.run && $("status").classList.contains("stop") && !answer.stop) setStatus("");
    return answer;
  } finally {
    refreshing = false;
  }
}

function store(t) {
  try { localStorage.setItem(STORE_KEY, JSON.stringify(t)); } catch (e) { /* private mode */ }
}

export function restore() {
  setTexts(Object.assign({}, DEFAULTS, { insulation: state.choices.default_insulation_in || DEFAULTS.insulation }));
  try {
    const kept = JSON.parse(localStorage.getItem(STORE_KEY) || "null");
    if (kept && typeof kept === "object") setTexts(kept);
  } catch (e) { /* nothing kept */ }
}

export function setStatus(text, { stop = false } = {}) {
  const status = $("status");
  status.textContent = text;
  status.classList.toggle("stop", stop);
}

export function fieldLabel(field) {
  return FIELDS[field] ? FIELDS[field].label : field;
}

export function markStale(t) {
  if (!state.lastResult) return;
  const stale = JSON.stringify(t) !== state.shownTexts;
  $("results").classList.toggle("stale", stale);
  $("stale").hidden = !stale;
}
